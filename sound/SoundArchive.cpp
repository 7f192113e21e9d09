#include "SoundArchive.h"

#include "AtomicFile.h"
#include "BinaryFile.h"
#include "MessageBox.h"
#include "NumberedError.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace {

// Each entry keeps the RIFF size; the 4 bytes before it and the 8 after it are constant.
constexpr size_t kSizeOffset = 4;
constexpr size_t kStoredFrom = 16;
constexpr uint32_t kMaxSounds = 255;

void ReportFailure(const std::string& tag, const std::string& path, const std::string& description)
{
    ShowMessage({tag + path + "\r\n" + description, {}, MessageButtons::Ok, MessageIcon::None});
}

NumberedError Broken(const std::string& what)
{
    return NumberedError(NumberedError::SubscriptOutOfRange, what);
}

} // namespace

SoundArchive::SoundArchive()
    : headerTemplate{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}
{
}

int32_t SoundArchive::SoundDeCompress(const std::string& path)
{
    soundData.clear();
    std::string description;  // stays empty for an empty file
    try {
        const std::vector<uint8_t> file = ReadBinaryFile(path);
        if (!file.empty())
            return DecodeEntries(file);
    } catch (const NumberedError& error) {
        description = NumberedError::Description(error.number());
    } catch (const std::exception&) {
        // a file too large to hold in memory: the game still runs, silently
        description = NumberedError::Description(0);
    }
    soundData.clear();
    ReportFailure("[DeCompress] ", path, description);
    return -1;
}

int32_t SoundArchive::DecodeEntries(const std::vector<uint8_t>& file)
{
    const size_t dataEnd = file.size() - 1;  // the count byte follows the entries
    if (dataEnd == 0)
        throw Broken("the archive holds no sound");
    soundData.assign(file.back(), {});

    size_t pos = 0;
    size_t index = 0;
    while (pos < dataEnd) {
        if (eventPump)
            eventPump();
        if (dataEnd - pos < kSizeOffset)
            throw Broken("a sound length is cut off");
        std::array<uint8_t, 4> size{};
        std::copy_n(file.begin() + pos, size.size(), size.begin());
        const uint32_t riffSize = ReadLength(size);
        if (riffSize < 8 || riffSize - 8 > dataEnd - pos - kSizeOffset)
            throw Broken("a sound length runs past the data");
        if (index >= soundData.size())
            throw Broken("more sounds than the count byte says");

        std::vector<uint8_t>& entry = soundData[index];
        entry.resize(riffSize + 8);
        std::copy(headerTemplate.begin(), headerTemplate.end(), entry.begin());
        std::copy(size.begin(), size.end(), entry.begin() + kSizeOffset);
        const auto stored = file.begin() + pos + kSizeOffset;
        std::copy(stored, stored + (riffSize - 8), entry.begin() + kStoredFrom);
        pos += kSizeOffset + (riffSize - 8);
        ++index;
    }
    return static_cast<int32_t>(index);
}

void SoundArchive::GetBinaryData(int32_t index, std::vector<uint8_t>& data) const
{
    if (index < 0 || static_cast<size_t>(index) >= soundData.size())
        throw NumberedError(NumberedError::SubscriptOutOfRange, "sound " + std::to_string(index));
    data = soundData[index];
}

void SoundArchive::BufferInitialize(int32_t count)
{
    if (count < 0)
        throw NumberedError(NumberedError::SubscriptOutOfRange, "sound count " + std::to_string(count));
    if (static_cast<uint32_t>(count) > kMaxSounds)
        throw NumberedError(NumberedError::Overflow, "an archive holds at most 255 sounds");
    soundData.assign(count, {});
}

void SoundArchive::SoundRead(int32_t index, const std::string& path)
{
    try {
        if (index < 0 || static_cast<size_t>(index) >= soundData.size())
            throw NumberedError(NumberedError::SubscriptOutOfRange, "sound " + std::to_string(index));
        const std::vector<uint8_t> wave = ReadBinaryFile(path);
        if (wave.size() < kStoredFrom)
            throw NumberedError(NumberedError::InputPastEndOfFile, path + " is too short for a WAVE file");
        std::array<uint8_t, 4> size{};
        std::copy_n(wave.begin() + kSizeOffset, size.size(), size.begin());
        // The archive finds the next sound by the RIFF size, so it must match the file.
        if (ReadLength(size) + 8ULL != wave.size())
            throw NumberedError(NumberedError::InvalidArgument,
                                path + ": the RIFF size + 8 differs from the file length");

        std::vector<uint8_t>& entry = soundData[index];
        entry.assign(size.begin(), size.end());
        entry.insert(entry.end(), wave.begin() + kStoredFrom, wave.end());
    } catch (const NumberedError& error) {
        ReportFailure("[READER] ", path, NumberedError::Description(error.number()));
        throw;
    }
}

void SoundArchive::SoundCompress(const std::string& path) const
{
    std::vector<uint8_t> bytes;
    for (const std::vector<uint8_t>& entry : soundData)
        bytes.insert(bytes.end(), entry.begin(), entry.end());
    bytes.push_back(static_cast<uint8_t>(soundData.size()));
    WriteFileAtomically(path, bytes);
}

void SoundArchive::SetEventPump(std::function<void()> pump)
{
    eventPump = std::move(pump);
}

uint32_t SoundArchive::ReadLength(const std::array<uint8_t, 4>& bytes)
{
    uint32_t value = 0;
    for (auto byte = bytes.rbegin(); byte != bytes.rend(); ++byte)
        value = value * 256 + *byte;
    if (value >= 0x80000000U)
        throw NumberedError(NumberedError::Overflow, "sound length " + std::to_string(value));
    return value;
}
