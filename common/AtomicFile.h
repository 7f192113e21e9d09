#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Replaces the file at path with bytes so that no reader ever sees a partial
// file: the bytes go to a new, uniquely named file in the same folder (created
// exclusively, so no existing file or link is ever opened), are flushed to the
// disk and then renamed over path. On any failure the old file is untouched,
// no temporary file is left, and a NumberedError names the cause.
void WriteFileAtomically(const std::string& path, std::string_view bytes);
void WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);
