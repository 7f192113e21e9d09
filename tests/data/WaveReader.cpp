#include "WaveReader.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

uint16_t U16(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

bool TagAt(const std::vector<uint8_t>& b, size_t at, const std::string& tag)
{
    return std::string(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + 4)) == tag;
}

} // namespace

WaveInfo ReadWave(const std::vector<uint8_t>& b)
{
    if (b.size() < 44 || !TagAt(b, 0, "RIFF") || !TagAt(b, 8, "WAVE") || !TagAt(b, 12, "fmt ")
        || U32(b, 16) != 16 || !TagAt(b, 36, "data"))
        throw std::runtime_error("not a canonical WAVE image");
    WaveInfo info;
    info.riffSize = U32(b, 4);
    info.formatTag = U16(b, 20);
    info.channels = U16(b, 22);
    info.sampleRate = U32(b, 24);
    info.byteRate = U32(b, 28);
    info.blockAlign = U16(b, 32);
    info.bitsPerSample = U16(b, 34);
    const uint32_t dataSize = U32(b, 40);
    if (44 + static_cast<size_t>(dataSize) > b.size())
        throw std::runtime_error("data chunk runs past the image");
    for (size_t at = 44; at < 44 + dataSize; at += info.bitsPerSample / 8) {
        if (info.bitsPerSample == 8)
            info.samples.push_back((b[at] - 128) / 127.0);
        else
            info.samples.push_back(static_cast<int16_t>(U16(b, at)) / 32767.0);
    }
    return info;
}

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
