#pragma once

#include <string>
#include <string_view>

// A damaged file of the player's is never deleted: it is kept beside the good
// one as PATH.damaged-YYYYMMDD-HHMMSS (with -2, -3 ... when that name is
// taken), so a second set-aside never overwrites the first.

// Moves the file (of whatever kind) at path aside; returns where it went, or
// an empty text when it could not be moved.
std::string MoveAside(const std::string& path);

// Writes bytes to a new set-aside file of path, leaving path itself alone;
// returns its name, or an empty text when it could not be written.
std::string KeepAside(const std::string& path, std::string_view bytes);
