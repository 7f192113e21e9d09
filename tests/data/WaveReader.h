#pragma once

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <vector>

// The header fields and samples of a canonical mono PCM WAVE image, read back
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
inline WaveInfo ReadWave(const std::vector<uint8_t>& b)
{
    const auto u16 = [&](size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); };
    const auto u32 = [&](size_t at) { return u16(at) | static_cast<uint32_t>(u16(at + 2)) << 16; };
    const auto tagAt = [&](size_t at, const char* tag) { return std::equal(tag, tag + 4, b.begin() + static_cast<long>(at)); };
    if (b.size() < 44 || !tagAt(0, "RIFF") || !tagAt(8, "WAVE") || !tagAt(12, "fmt ") || u32(16) != 16
        || !tagAt(36, "data"))
        throw std::runtime_error("not a canonical WAVE image");
    WaveInfo info{u32(4), u16(20), u16(22), u32(24), u32(28), u16(32), u16(34), {}};
    const size_t end = 44 + static_cast<size_t>(u32(40));
    if (end > b.size())
        throw std::runtime_error("data chunk runs past the image");
    for (size_t at = 44; at < end; at += info.bitsPerSample / 8)
        info.samples.push_back(info.bitsPerSample == 8 ? (b[at] - 128) / 127.0 : static_cast<int16_t>(u16(at)) / 32767.0);
    return info;
}
