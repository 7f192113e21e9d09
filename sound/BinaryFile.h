#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The whole file at path in one read; a failure raises the matching NumberedError.
std::vector<uint8_t> ReadBinaryFile(const std::string& path);
