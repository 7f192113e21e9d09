#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads back the header fields and samples of a canonical mono PCM WAVE image,
// so the tests can check what the generator and the archive give.
struct WaveInfo {
    uint32_t riffSize = 0;
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint32_t byteRate = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    std::vector<double> samples;  // in [-1, 1]
};

// Throws std::runtime_error when the image is not such a file.
WaveInfo ReadWave(const std::vector<uint8_t>& image);
std::vector<uint8_t> ReadBytes(const std::string& path);
