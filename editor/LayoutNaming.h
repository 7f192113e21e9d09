#pragma once

#include <functional>
#include <string>

// A file name for a new layout or a copy in the player's folder: stem.tvm,
// else stem-2.tvm, stem-3.tvm ..., the first that taken refuses. The caller's
// taken covers the shipped layouts' names, so a player's file never hides one.
std::string FreeLayoutName(const std::string& stem, const std::function<bool(const std::string&)>& taken);
