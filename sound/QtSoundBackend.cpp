#include "QtSoundBackend.h"

#include "SlotStream.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

namespace {

QAudioFormat ToAudioFormat(const WaveFormat& format)
{
    QAudioFormat audio;
    audio.setSampleRate(static_cast<int>(format.samplesPerSec));
    audio.setChannelCount(format.channels);
    audio.setSampleFormat(format.bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    return audio;
}

} // namespace

// One slot's sound: its stream and the sink that pulls from it.
class QtSoundBackend::Voice {
public:
    Voice(const QAudioDevice& device, std::shared_ptr<const SoundBuffer> buffer)
        : stream(std::move(buffer)), sink(device, ToAudioFormat(stream.Buffer()->format))
    {
    }

    bool Holds(const std::shared_ptr<const SoundBuffer>& buffer) const { return stream.Buffer() == buffer; }

    void Play(bool looping)
    {
        stream.SetLooping(looping);
        switch (sink.state()) {
        case QAudio::ActiveState:
            break;
        case QAudio::SuspendedState:
            sink.resume();
            break;
        case QAudio::IdleState:
        case QAudio::StoppedState:
            sink.stop();
            stream.Rewind();
            sink.start(&stream);
            break;
        }
    }

    // A sound that has already finished stays finished, so that it starts
    // over when played again.
    void Stop()
    {
        if (sink.state() == QAudio::ActiveState)
            sink.suspend();
    }

private:
    SlotStream stream;
    QAudioSink sink;
};

QtSoundBackend::QtSoundBackend() : device(QMediaDevices::defaultAudioOutput()) {}

QtSoundBackend::~QtSoundBackend() = default;

void QtSoundBackend::Play(int32_t slot, std::shared_ptr<const SoundBuffer> buffer, bool looping)
{
    if (HasDevice() && buffer)
        VoiceFor(slot, buffer).Play(looping);
}

void QtSoundBackend::Stop(int32_t slot)
{
    if (const auto voice = voices.find(slot); voice != voices.end())
        voice->second->Stop();
}

void QtSoundBackend::Release(int32_t slot)
{
    voices.erase(slot);
}

QtSoundBackend::Voice& QtSoundBackend::VoiceFor(int32_t slot, const std::shared_ptr<const SoundBuffer>& buffer)
{
    std::unique_ptr<Voice>& voice = voices[slot];
    if (!voice || !voice->Holds(buffer))
        voice = std::make_unique<Voice>(device, buffer);
    return *voice;
}
