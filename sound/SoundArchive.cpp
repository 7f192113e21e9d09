#include "SoundArchive.h"

#include "AtomicFile.h"
#include "BinaryFile.h"
#include "MessageBox.h"
#include "NumberedError.h"

#include <algorithm>

namespace {

// Each entry keeps the RIFF size; the 4 bytes before it and the 8 after it are constant.
constexpr size_t kSizeOffset = 4;
constexpr size_t kStoredFrom = 16;
constexpr uint32_t kMaxSounds = 255;

void ReportFailure(const std::string& tag, const std::string& path, const std::string& description)
{
    ShowMessage({tag + path + "\r\n" + description, {}, MessageButtons::Ok, MessageIcon::None});
}

// The most specific reason an error knows: a file-system error names only the
// path (and errno's words), which the message already shows, so its
// description says more.
std::string Reason(const NumberedError& error, const std::string& path)
{
    const bool fileSystem = error.number() == NumberedError::FileNotFound || error.number() == NumberedError::PathNotFound
        || error.number() == NumberedError::PermissionDenied || error.number() == NumberedError::DiskFull;
    if (error.detail().empty() || error.detail() == path || (fileSystem && error.detail().starts_with(path + ": ")))
        return NumberedError::Description(error.number());
    return error.detail();
}

std::string ByteCount(size_t bytes)
{
    return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

NumberedError BrokenEntry(size_t index, const std::string& what)
{
    return NumberedError(NumberedError::SubscriptOutOfRange, "entry " + std::to_string(index) + " " + what);
}

} // namespace

SoundArchive::SoundArchive()
    : headerTemplate{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}
{
}

int32_t SoundArchive::SoundDeCompress(const std::string& path)
{
    soundData.clear();
    std::string description;
    try {
        const std::vector<uint8_t> file = ReadBinaryFile(path, "the sound archive");
        if (!file.empty())
            return DecodeEntries(file);
        description = "the archive is empty";
    } catch (const NumberedError& error) {
        description = Reason(error, path);
    } catch (const std::exception& error) {
        // not enough memory for the sounds: the game still runs, silently
        description = error.what();
    }
    soundData.clear();
    ReportFailure("[DeCompress] ", path, description);
    return -1;
}

// An archive of only its count byte holds no sound: the game then runs silently.
int32_t SoundArchive::DecodeEntries(const std::vector<uint8_t>& file)
{
    const size_t dataEnd = file.size() - 1;  // the count byte follows the entries
    soundData.assign(file.back(), {});

    size_t pos = 0;
    size_t index = 0;
    while (pos < dataEnd) {
        if (eventPump)
            eventPump();
        if (index >= soundData.size())
            throw BrokenEntry(index, "is more than the count byte's " + std::to_string(soundData.size()) + " sounds");
        const size_t left = dataEnd - pos;
        if (left < kSizeOffset)
            throw BrokenEntry(index, "is cut short: " + std::to_string(left) + " of the 4 bytes of its RIFF size");
        std::array<uint8_t, 4> size{};
        std::copy_n(file.begin() + pos, size.size(), size.begin());
        const uint32_t riffSize = ReadEntryLength(size, index);
        if (riffSize < 8)
            throw BrokenEntry(index, "has a RIFF size of " + std::to_string(riffSize) + ", less than 8");
        if (riffSize - 8 > left - kSizeOffset)
            throw BrokenEntry(index, "is cut short: its RIFF size " + std::to_string(riffSize) + " runs "
                                         + ByteCount(riffSize - 8 - (left - kSizeOffset))
                                         + " past the end of the data");

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
            throw NumberedError(NumberedError::SubscriptOutOfRange, "sound " + std::to_string(index)
                                                                        + " is outside the archive's "
                                                                        + std::to_string(soundData.size()) + " sounds");
        const std::vector<uint8_t> wave = ReadBinaryFile(path, "the WAVE file");
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
        ReportFailure("[READER] ", path, Reason(error, path));
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
        throw NumberedError(NumberedError::Overflow, "RIFF size " + std::to_string(value) + " is 2^31 or more");
    return value;
}

uint32_t SoundArchive::ReadEntryLength(const std::array<uint8_t, 4>& bytes, size_t index)
{
    try {
        return ReadLength(bytes);
    } catch (const NumberedError& error) {
        throw NumberedError(error.number(), "entry " + std::to_string(index) + ": " + error.detail());
    }
}
