#include "QtSoundBackend.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>

#include <algorithm>
#include <cstring>

namespace {

// Reads a slot's bytes from memory, starting over at the end while looping.
class SlotStream : public QIODevice {
public:
    explicit SlotStream(std::shared_ptr<const SoundBuffer> buffer_) : buffer(std::move(buffer_))
    {
        open(QIODevice::ReadOnly);
    }

    void SetLooping(bool looping_) { looping = looping_; }
    void Rewind() { position = 0; }
    const std::shared_ptr<const SoundBuffer>& Buffer() const { return buffer; }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override
    {
        return static_cast<qint64>(buffer->bytes.size() - position) + QIODevice::bytesAvailable();
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const std::vector<uint8_t>& bytes = buffer->bytes;
        qint64 copied = 0;
        while (copied < maxSize) {
            if (position == bytes.size()) {
                if (!looping)
                    break;
                position = 0;
            }
            const size_t count = std::min(static_cast<size_t>(maxSize - copied), bytes.size() - position);
            std::memcpy(data + copied, bytes.data() + position, count);
            position += count;
            copied += static_cast<qint64>(count);
        }
        return copied;
    }

    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::shared_ptr<const SoundBuffer> buffer;
    size_t position = 0;
    bool looping = false;
};

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
