#pragma once

#include "SoundBackend.h"

#include <QIODevice>

#include <memory>

// Reads a slot's bytes from memory for an audio sink, starting over at the
// end while looping.
class SlotStream : public QIODevice {
public:
    explicit SlotStream(std::shared_ptr<const SoundBuffer> buffer);

    void SetLooping(bool looping);
    void Rewind();
    const std::shared_ptr<const SoundBuffer>& Buffer() const { return buffer; }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    std::shared_ptr<const SoundBuffer> buffer;
    size_t position = 0;
    bool looping = false;
};
