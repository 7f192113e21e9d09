#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// The sample bytes of a RIFF WAVE image's data chunk, or nothing when the
// image is not a WAVE file or holds no data chunk. A data chunk that claims
// more bytes than the image holds is cut to what is there.
std::optional<std::vector<uint8_t>> WaveSamples(const std::vector<uint8_t>& image);
