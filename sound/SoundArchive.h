#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The archive of sound effects: PCM WAVE files with their constant signature
// bytes cut out, followed by a count byte. The game decodes it; the authoring
// side builds it from WAVE files.
class SoundArchive {
public:
    SoundArchive();

    // Game side. Decodes the archive at path into complete WAVE images and
    // returns how many were found (0 for an archive of only its count byte),
    // or -1 after one "[DeCompress] " message that names the reason.
    int32_t SoundDeCompress(const std::string& path);
    // data becomes a copy of sound index's WAVE image; a bad index raises
    // NumberedError::SubscriptOutOfRange.
    void GetBinaryData(int32_t index, std::vector<uint8_t>& data) const;

    // Authoring side. Drops all sounds and makes room for count empty ones
    // (0 to 255, the most the count byte can hold).
    void BufferInitialize(int32_t count);
    // Turns the WAVE file at path into sound index. A failure shows one
    // "[READER] " message and raises the NumberedError, which ends the tool.
    void SoundRead(int32_t index, const std::string& path);
    // Writes the archive; a failed write raises a NumberedError.
    void SoundCompress(const std::string& path) const;

    // Lets the window's pending events run once per sound while the archive decodes.
    void SetEventPump(std::function<void()> pump);

private:
    static uint32_t ReadLength(const std::array<uint8_t, 4>& bytes);
    // ReadLength, naming the entry when the size is out of range.
    static uint32_t ReadEntryLength(const std::array<uint8_t, 4>& bytes, size_t index);
    // Fills soundData from the archive's bytes and returns how many sounds it held.
    int32_t DecodeEntries(const std::vector<uint8_t>& file);

    std::vector<std::vector<uint8_t>> soundData;
    std::array<uint8_t, 16> headerTemplate;
    std::function<void()> eventPump;
};
