#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// A PCM wave format, field for field as a sound buffer is described.
struct WaveFormat {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint16_t extraSize = 0;
    uint32_t reserved = 0;

    bool operator==(const WaveFormat&) const = default;
};

// What one loaded slot plays: its bytes, taken as raw PCM in its format.
struct SoundBuffer {
    std::vector<uint8_t> bytes;
    WaveFormat format;
};

// The audio device behind DX7Sound. Slots are the player's numbers 1 to 99.
class SoundBackend {
public:
    virtual ~SoundBackend() = default;

    // Starts the slot's sound in the background. A sound that is still
    // playing goes on; one that was stopped part-way resumes where it stopped.
    virtual void Play(int32_t slot, std::shared_ptr<const SoundBuffer> buffer, bool looping) = 0;
    // Stops the slot's sound where it is.
    virtual void Stop(int32_t slot) = 0;
    // The slot's buffer is replaced or the player ends: drop what plays in it.
    virtual void Release(int32_t slot) = 0;
};
