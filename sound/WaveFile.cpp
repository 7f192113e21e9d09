#include "WaveFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kChunkHeader = 8;
constexpr size_t kFirstChunk = 12;

uint32_t LittleEndian32(const uint8_t* bytes)
{
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

bool HasTag(const std::vector<uint8_t>& image, size_t offset, const char* tag)
{
    return std::memcmp(image.data() + offset, tag, 4) == 0;
}

} // namespace

std::optional<std::vector<uint8_t>> WaveSamples(const std::vector<uint8_t>& image)
{
    if (image.size() < kFirstChunk || !HasTag(image, 0, "RIFF") || !HasTag(image, 8, "WAVE"))
        return std::nullopt;
    size_t pos = kFirstChunk;
    while (image.size() - pos >= kChunkHeader) {
        const size_t body = pos + kChunkHeader;
        const size_t size = std::min<size_t>(LittleEndian32(image.data() + pos + 4), image.size() - body);
        if (HasTag(image, pos, "data"))
            return std::vector<uint8_t>(image.begin() + body, image.begin() + body + size);
        pos = body + size + size % 2;  // chunks are padded to an even length
        pos = std::min(pos, image.size());
    }
    return std::nullopt;
}
