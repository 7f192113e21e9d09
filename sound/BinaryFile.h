#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The most a sound archive or a WAVE file for it may hold.
constexpr uint64_t kMaxSoundFileBytes = 64ULL * 1024 * 1024;

// The whole sound file at path in one read; what names it in errors ("sound
// archive", "WAVE file"). Anything but a regular file, or one larger than
// kMaxSoundFileBytes, is refused before it is read; a failure raises the
// matching NumberedError.
std::vector<uint8_t> ReadBinaryFile(const std::string& path, const std::string& what = "sound file");
