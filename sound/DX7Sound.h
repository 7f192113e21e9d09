#pragma once

#include "SoundBackend.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The sound player: up to 99 sound buffers addressed by slot numbers 1 to 99,
// filled from WAVE data in memory or from a file, played and stopped by slot.
// Every buffer takes the player's current format when it is loaded. Slot
// numbers out of range, unloaded slots and calls before Initialize do nothing.
class DX7Sound {
public:
    using BackendFactory = std::function<std::unique_ptr<SoundBackend>()>;

    // Plays through the back end installed with SetBackendFactory (silent when
    // none is), made only when the device is opened or a sound first plays, so
    // that a game with sound off never starts the audio system.
    DX7Sound();
    explicit DX7Sound(std::unique_ptr<SoundBackend> backend);
    ~DX7Sound();
    DX7Sound(const DX7Sound&) = delete;
    DX7Sound& operator=(const DX7Sound&) = delete;

    // The back end that players made with the default constructor get; the
    // shell installs the audio device's at start-up.
    static void SetBackendFactory(BackendFactory factory);

    // Any rate is stored; bits other than 8 or 16 and channels other than 1
    // or 2 are ignored.
    void waveFormat_SamplesPerSec(int32_t samplesPerSec);
    void waveFormat_BitsPerSample(int32_t bitsPerSample);
    void waveFormat_Channels(int32_t channels);
    const WaveFormat& waveFormat() const { return format; }

    void Looped(int32_t slot, bool looped);

    void Initialize();
    // Makes the back end now, if it is not made yet.
    void OpenDevice();
    // Lowest slot not loaded; 0 when all 99 are or the player is not ready.
    int32_t GetFreeNumber() const;
    // Loads the first count bytes of bytes, headers included, to play in the
    // current format. A failure shows "Debug: Invalidity waveFormat?".
    void LoadFromBinary(int32_t slot, const std::vector<uint8_t>& bytes, int32_t count);
    // Loads the sample data of a WAVE file. A failure shows "Debug: WaveFile not found.".
    void LoadFromFile(int32_t slot, const std::string& path);
    void SoundPlay(int32_t slot);
    void SoundStop(int32_t slot);

    static constexpr int32_t SLOT_COUNT = 99;

private:
    struct SlotRecord {
        bool loaded = false;
        uint32_t playFlags = 0;
        std::shared_ptr<const SoundBuffer> buffer;
    };

    bool Usable(int32_t slot) const;
    bool Playable(int32_t slot) const;
    bool FormatAccepted() const;
    void Store(int32_t slot, std::vector<uint8_t> bytes);
    void UpdateWaveFormat();
    void StopAll() noexcept;

    std::unique_ptr<SoundBackend> backend;  // empty until opened
    std::array<SlotRecord, SLOT_COUNT + 1> bufferTable;  // slot 0 unused
    WaveFormat format;
    bool soundReady = false;
};
