#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Readers take only regular files and never wait: the file is opened without
// blocking, so a FIFO or a device is refused at once instead of hanging the
// program, and a file larger than the reader accepts is refused by its size
// before a byte of it is read.

// An open regular file; the descriptor closes with the object.
class RegularFile {
public:
    // Raises NumberedError: the file system's error, or PathFileAccessError
    // "PATH is not a regular file" for a folder, FIFO, device or socket.
    explicit RegularFile(const std::string& path);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    int Descriptor() const { return fd_; }
    // Hands the descriptor over; the object no longer closes it.
    int Release();
    uint64_t Size() const { return size_; }

private:
    int fd_ = -1;
    uint64_t size_ = 0;
};

// The whole regular file at path. One larger than maxBytes is refused with an
// Overflow error "WHAT PATH is larger than LIMIT" before anything is read.
std::vector<uint8_t> ReadRegularFile(const std::string& path, uint64_t maxBytes, const std::string& what);

// "1 MiB" for whole mebibytes, "N bytes" otherwise.
std::string SizeLimitText(uint64_t bytes);
