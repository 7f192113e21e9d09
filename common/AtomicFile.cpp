#include "AtomicFile.h"

#include "NumberedError.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// .NAME.PID-COUNT-TICKS.tmp, as TemporaryFile names them.
const std::regex kTemporaryName(R"(\..+\.[0-9]+-[0-9]+-[0-9]+\.tmp)");
constexpr auto kStaleAfter = std::chrono::minutes(1);

// Closes the descriptor and removes the temporary file unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& target)
    {
        const std::filesystem::path targetPath(target);
        const std::string folder = targetPath.has_parent_path() ? targetPath.parent_path().string() + "/" : "";
        for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
            path_ = folder + "." + targetPath.filename().string() + "." + UniqueSuffix() + ".tmp";
            fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            if (fd_ < 0 && errno != EEXIST)
                throw NumberedError::FromErrno(target, errno);
        }
        if (fd_ < 0)
            throw NumberedError::FromErrno(target, EEXIST);
    }

    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    ~TemporaryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!renamed_)
            ::unlink(path_.c_str());
    }

    // Writes every byte, retrying short writes; returns 0 or the errno of the failure.
    int Write(std::string_view bytes)
    {
        while (!bytes.empty()) {
            const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return written < 0 ? errno : ENOSPC;
            bytes.remove_prefix(static_cast<size_t>(written));
        }
        return 0;
    }

    int SyncAndClose()
    {
        const int syncResult = ::fsync(fd_);
        const int syncError = errno;
        const int closeResult = ::close(fd_);
        fd_ = -1;
        if (syncResult != 0)
            return syncError;
        return closeResult != 0 ? errno : 0;
    }

    int RenameOver(const std::string& target)
    {
        if (::rename(path_.c_str(), target.c_str()) != 0)
            return errno;
        renamed_ = true;
        return 0;
    }

private:
    static std::string UniqueSuffix()
    {
        static std::atomic<unsigned> counter{0};
        const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
        // Keep in step with kTemporaryName.
        return std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-"
            + std::to_string(static_cast<unsigned long long>(ticks) % 1000000007ULL);
    }

    std::string path_;
    int fd_ = -1;
    bool renamed_ = false;
};

// Makes the rename itself durable; a folder that cannot be synced is no error.
void SyncFolderOf(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    const int fd = ::open(parent.empty() ? "." : parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    TemporaryFile temporary(path);
    if (const int error = temporary.Write(bytes))
        throw NumberedError::FromErrno(path, error);
    if (const int error = temporary.SyncAndClose())
        throw NumberedError::FromErrno(path, error);
    if (const int error = temporary.RenameOver(path))
        throw NumberedError::FromErrno(path, error);
    SyncFolderOf(path);
}

void WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes)
{
    WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void CreateFolders(const std::string& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        const NumberedError cause = NumberedError::FromErrno(folder, error.value());
        throw NumberedError(cause.number(), "cannot create folder " + cause.detail());
    }
}

int RemoveStaleTemporaries(const std::string& folder)
{
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error)
        return 0;
    const auto oldest = std::chrono::system_clock::now() - kStaleAfter;
    int removed = 0;
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        struct stat info {};
        if (!std::regex_match(name, kTemporaryName) || ::lstat(entry.path().c_str(), &info) != 0
            || !S_ISREG(info.st_mode))
            continue;
        if (std::chrono::system_clock::from_time_t(info.st_mtime) < oldest && ::unlink(entry.path().c_str()) == 0)
            ++removed;
    }
    return removed;
}
