#include "SlotStream.h"

#include <algorithm>
#include <cstring>

SlotStream::SlotStream(std::shared_ptr<const SoundBuffer> buffer_) : buffer(std::move(buffer_))
{
    // Unbuffered, so that a change of looping or a rewind takes effect at once.
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void SlotStream::SetLooping(bool looping_)
{
    looping = looping_;
}

void SlotStream::Rewind()
{
    position = 0;
}

qint64 SlotStream::bytesAvailable() const
{
    return static_cast<qint64>(buffer->bytes.size() - position) + QIODevice::bytesAvailable();
}

qint64 SlotStream::readData(char* data, qint64 maxSize)
{
    const std::vector<uint8_t>& bytes = buffer->bytes;
    qint64 copied = 0;
    while (copied < maxSize && !bytes.empty()) {
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

qint64 SlotStream::writeData(const char*, qint64)
{
    return -1;
}
