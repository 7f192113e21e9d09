#pragma once

#include "SoundBackend.h"

#include <QAudioDevice>

#include <map>
#include <memory>

// Plays each slot's bytes as raw PCM through the default audio output, one
// audio sink per slot so that several slots sound at once. Without an audio
// device every call does nothing.
class QtSoundBackend : public SoundBackend {
public:
    QtSoundBackend();
    ~QtSoundBackend() override;

    void Play(int32_t slot, std::shared_ptr<const SoundBuffer> buffer, bool looping) override;
    void Stop(int32_t slot) override;
    void Release(int32_t slot) override;

private:
    class Voice;

    bool HasDevice() const { return !device.isNull(); }

    Voice& VoiceFor(int32_t slot, const std::shared_ptr<const SoundBuffer>& buffer);

    QAudioDevice device;
    std::map<int32_t, std::unique_ptr<Voice>> voices;
};
