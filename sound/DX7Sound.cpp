#include "DX7Sound.h"

#include "BinaryFile.h"
#include "MessageBox.h"
#include "NumberedError.h"
#include "WaveFile.h"

#include <filesystem>
#include <utility>

namespace {

constexpr uint32_t kPlayLooping = 1;
constexpr uint16_t kFormatPcm = 1;
// The sample rates a sound buffer can be made with.
constexpr uint32_t kLowestRate = 100;
constexpr uint32_t kHighestRate = 200000;

class SilentBackend : public SoundBackend {
public:
    void Play(int32_t, std::shared_ptr<const SoundBuffer>, bool) override {}
    void Stop(int32_t) override {}
    void Release(int32_t) override {}
};

DX7Sound::BackendFactory& InstalledFactory()
{
    static DX7Sound::BackendFactory factory;
    return factory;
}

// Nothing when no factory is installed; the constructor then plays silently.
std::unique_ptr<SoundBackend> MakeBackend()
{
    return InstalledFactory() ? InstalledFactory()() : nullptr;
}

void ReportLoadFailure(const char* text, const char* title)
{
    ShowMessage({text, title, MessageButtons::OkCancel, MessageIcon::None});
}

} // namespace

DX7Sound::DX7Sound() = default;

DX7Sound::DX7Sound(std::unique_ptr<SoundBackend> backend_) : backend(std::move(backend_))
{
    if (!backend)
        backend = std::make_unique<SilentBackend>();
}

DX7Sound::~DX7Sound()
{
    StopAll();
}

void DX7Sound::SetBackendFactory(BackendFactory factory)
{
    InstalledFactory() = std::move(factory);
}

void DX7Sound::waveFormat_SamplesPerSec(int32_t samplesPerSec)
{
    format.samplesPerSec = static_cast<uint32_t>(samplesPerSec);
    UpdateWaveFormat();
}

void DX7Sound::waveFormat_BitsPerSample(int32_t bitsPerSample)
{
    if (bitsPerSample != 8 && bitsPerSample != 16)
        return;
    format.bitsPerSample = static_cast<uint16_t>(bitsPerSample);
    UpdateWaveFormat();
}

void DX7Sound::waveFormat_Channels(int32_t channels)
{
    if (channels != 1 && channels != 2)
        return;
    format.channels = static_cast<uint16_t>(channels);
    UpdateWaveFormat();
}

void DX7Sound::Looped(int32_t slot, bool looped)
{
    if (slot >= 1 && slot <= SLOT_COUNT)
        bufferTable[slot].playFlags = looped ? kPlayLooping : 0;
}

void DX7Sound::Initialize()
{
    soundReady = true;
}

void DX7Sound::OpenDevice()
{
    if (backend)
        return;
    backend = MakeBackend();
    if (!backend)
        backend = std::make_unique<SilentBackend>();
}

int32_t DX7Sound::GetFreeNumber() const
{
    if (!soundReady)
        return 0;
    for (int32_t slot = 1; slot <= SLOT_COUNT; ++slot) {
        if (!bufferTable[slot].loaded)
            return slot;
    }
    return 0;
}

void DX7Sound::LoadFromBinary(int32_t slot, const std::vector<uint8_t>& bytes, int32_t count)
{
    if (!Usable(slot))
        return;
    if (!FormatAccepted() || count <= 0 || static_cast<size_t>(count) > bytes.size()) {
        ReportLoadFailure("Debug: Invalidity waveFormat?", "DX7Sound.LoadFromBinary");
        return;
    }
    Store(slot, std::vector<uint8_t>(bytes.begin(), bytes.begin() + count));
}

void DX7Sound::LoadFromFile(int32_t slot, const std::string& path)
{
    if (!Usable(slot))
        return;
    std::error_code missing;
    if (std::filesystem::file_size(path, missing) == 0 && !missing)
        return;
    try {
        std::optional<std::vector<uint8_t>> samples = WaveSamples(ReadBinaryFile(path));
        if (FormatAccepted() && samples && !samples->empty()) {
            Store(slot, std::move(*samples));
            return;
        }
    } catch (const NumberedError&) {
        // reported below, as every other reason the file cannot be loaded
    }
    ReportLoadFailure("Debug: WaveFile not found.", "DX7Sound.LoadFromFile");
}

void DX7Sound::SoundPlay(int32_t slot)
{
    if (!Playable(slot))
        return;
    OpenDevice();
    backend->Play(slot, bufferTable[slot].buffer, bufferTable[slot].playFlags & kPlayLooping);
}

void DX7Sound::SoundStop(int32_t slot)
{
    if (Playable(slot) && backend)
        backend->Stop(slot);
}

bool DX7Sound::Usable(int32_t slot) const
{
    return soundReady && slot >= 1 && slot <= SLOT_COUNT;
}

bool DX7Sound::Playable(int32_t slot) const
{
    return Usable(slot) && bufferTable[slot].loaded;
}

bool DX7Sound::FormatAccepted() const
{
    return format.blockAlign != 0 && format.samplesPerSec >= kLowestRate && format.samplesPerSec <= kHighestRate;
}

void DX7Sound::Store(int32_t slot, std::vector<uint8_t> bytes)
{
    SlotRecord& record = bufferTable[slot];
    if (record.loaded && backend)
        backend->Release(slot);
    record.buffer = std::make_shared<const SoundBuffer>(SoundBuffer{std::move(bytes), format});
    record.loaded = true;
    record.playFlags = 0;
}

void DX7Sound::UpdateWaveFormat()
{
    format.blockAlign = static_cast<uint16_t>(format.bitsPerSample * format.channels / 8);
    format.avgBytesPerSec = format.samplesPerSec * format.blockAlign;
    format.formatTag = kFormatPcm;
    format.extraSize = 0;
    format.reserved = 0;
}

void DX7Sound::StopAll() noexcept
{
    for (int32_t slot = 1; slot <= SLOT_COUNT; ++slot) {
        if (!Playable(slot) || !backend)
            continue;
        try {
            backend->Stop(slot);
        } catch (...) {
            // the player is ending; a sound that will not stop is dropped with it
        }
    }
}
