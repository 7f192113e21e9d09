#include "SetAside.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kMostTries = 1000;

std::string Stamped(const std::string& path, int attempt)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string name = path + ".damaged-" + stamp;
    return attempt == 1 ? name : name + "-" + std::to_string(attempt);
}

} // namespace

std::string MoveAside(const std::string& path)
{
    for (int attempt = 1; attempt <= kMostTries; ++attempt) {
        const std::string target = Stamped(path, attempt);
        // Never replaces an earlier set-aside, even one made at the same moment by another instance.
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
            return target;
        if (errno != EEXIST)
            return {};
    }
    return {};
}

std::string KeepAside(const std::string& path, std::string_view bytes)
{
    for (int attempt = 1; attempt <= kMostTries; ++attempt) {
        const std::string target = Stamped(path, attempt);
        const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return {};
        const bool written = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
        const bool closed = ::close(fd) == 0;
        if (written && closed)
            return target;
        ::unlink(target.c_str());
        return {};
    }
    return {};
}
