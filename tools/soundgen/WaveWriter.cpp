#include "WaveWriter.h"

#include "AtomicFile.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace {

void PutU16(std::vector<std::uint8_t>& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

void PutTag(std::vector<std::uint8_t>& out, const char (&tag)[5])
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(tag[i]));
}

long Quantise(double sample, long scale)
{
    return std::lround(std::clamp(sample, -1.0, 1.0) * scale);
}

} // namespace

std::vector<std::uint8_t> WaveWriter::Encode(const std::vector<double>& samples, int sampleRate,
                                           int bitsPerSample)
{
    if (bitsPerSample != 8 && bitsPerSample != 16)
        throw std::invalid_argument("only 8- and 16-bit samples are written");
    const std::uint32_t bytesPerSample = bitsPerSample / 8;
    // A RIFF chunk is padded to an even length; keep the data even so the file
    // is exactly its RIFF size + 8 bytes.
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size()) * bytesPerSample;
    const std::uint32_t paddedBytes = dataBytes + dataBytes % 2;

    std::vector<std::uint8_t> out;
    out.reserve(44 + paddedBytes);
    PutTag(out, "RIFF");
    PutU32(out, 36 + paddedBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutU32(out, 16);
    PutU16(out, 1);  // PCM
    PutU16(out, 1);  // mono
    PutU32(out, static_cast<std::uint32_t>(sampleRate));
    PutU32(out, static_cast<std::uint32_t>(sampleRate) * bytesPerSample);
    PutU16(out, bytesPerSample);
    PutU16(out, static_cast<unsigned>(bitsPerSample));
    PutTag(out, "data");
    PutU32(out, paddedBytes);
    for (double sample : samples) {
        if (bitsPerSample == 8)
            out.push_back(static_cast<std::uint8_t>(128 + Quantise(sample, 127)));
        else
            PutU16(out, static_cast<unsigned>(Quantise(sample, 32767)) & 0xFFFF);
    }
    if (paddedBytes != dataBytes)
        out.push_back(128);
    return out;
}

void WaveWriter::Write(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    WriteFileAtomically(path, bytes);
}
