#include "RegularFile.h"

#include "NumberedError.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uint64_t kMebibyte = 1024 * 1024;

NumberedError TooLarge(const std::string& path, uint64_t maxBytes, const std::string& what)
{
    return NumberedError(NumberedError::Overflow, what + " " + path + " is larger than " + SizeLimitText(maxBytes));
}

} // namespace

RegularFile::RegularFile(const std::string& path)
{
    // Without O_NONBLOCK, opening a FIFO would wait for a writer.
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0)
        throw NumberedError::FromErrno(path, errno);
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        const int error = errno;
        ::close(fd_);
        throw NumberedError::FromErrno(path, error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd_);
        throw NumberedError(NumberedError::PathFileAccessError, path + " is not a regular file");
    }
    size_ = static_cast<uint64_t>(info.st_size);
}

RegularFile::~RegularFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

int RegularFile::Release()
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

std::vector<uint8_t> ReadRegularFile(const std::string& path, uint64_t maxBytes, const std::string& what)
{
    const RegularFile file(path);
    if (file.Size() > maxBytes)
        throw TooLarge(path, maxBytes, what);
    // The file may grow while it is read: one byte past the limit is enough to refuse it.
    std::vector<uint8_t> bytes(static_cast<size_t>(file.Size()) + 1);
    size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > maxBytes)
                throw TooLarge(path, maxBytes, what);
            bytes.resize(static_cast<size_t>(std::min<uint64_t>(maxBytes + 1, 2 * bytes.size())));
        }
        const ssize_t got = ::read(file.Descriptor(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw NumberedError(NumberedError::DeviceIoError, path);
        if (got == 0)
            break;
        filled += static_cast<size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

std::string SizeLimitText(uint64_t bytes)
{
    if (bytes >= kMebibyte && bytes % kMebibyte == 0)
        return std::to_string(bytes / kMebibyte) + " MiB";
    return std::to_string(bytes) + " bytes";
}
