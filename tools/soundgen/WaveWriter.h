#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A mono PCM WAVE file image: the 44-byte header and the samples. 8-bit samples
// are unsigned around 128, 16-bit ones signed little-endian. Samples in [-1, 1].
class WaveWriter {
public:
    static std::vector<std::uint8_t> Encode(const std::vector<double>& samples, int sampleRate,
                                            int bitsPerSample);
    static void Write(const std::string& path, const std::vector<std::uint8_t>& bytes);
};
