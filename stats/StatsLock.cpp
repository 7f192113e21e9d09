#include "StatsLock.h"

#include "NumberedError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

StatsLock::StatsLock(const std::string& lockPath)
{
    // Non-blocking and without following links: a FIFO or a link put in its place is refused at once.
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
    if (fd_ < 0)
        throw NumberedError::FromErrno(lockPath, errno);
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        throw NumberedError(NumberedError::PathFileAccessError, lockPath + " is not a regular file");
    }
    held_ = ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

StatsLock::~StatsLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}
