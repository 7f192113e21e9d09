#pragma once

#include <string>
#include <string_view>

// Text taken from a file or the command line, made safe to echo in a message:
// in double quotes, with quotes, backslashes and control characters escaped
// (a terminal escape arrives as \x1b, harmless), and cut after maxBytes bytes
// with "..." so that one hostile value cannot flood the message.
std::string QuotedText(std::string_view text, size_t maxBytes = 120);
// A file path made safe to echo the same way, cut only past the longest path
// the system allows: a shortened path would not lead the player to the file.
std::string QuotedPath(std::string_view path);
