#include "AtomicFile.h"
#include "FileTestSupport.h"
#include "NumberedError.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

void WriteText(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

size_t EntriesIn(const fs::path& folder)
{
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// Makes every write past the limit fail with EFBIG, as a full disk would, even for root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

} // namespace

TEST(AtomicFile, ReplacesTheFileAndLeavesNothingElse)
{
    const fs::path folder = FreshFolder("atomic");
    const fs::path target = folder / "save.dat";
    WriteText(target, "old contents");
    WriteFileAtomically(target.string(), std::string("new\0bytes", 9));
    EXPECT_EQ(Contents(target), std::string("new\0bytes", 9));
    WriteFileAtomically(target.string(), std::vector<uint8_t>{1, 2, 3});
    EXPECT_EQ(Contents(target), std::string("\1\2\3"));
    EXPECT_EQ(EntriesIn(folder), 1u);
}

TEST(AtomicFile, AFailedWriteKeepsTheOldFileByteForByte)
{
    const fs::path folder = FreshFolder("atomic");
    const fs::path target = folder / "sound.dat";
    const std::string old(3000, 'o');
    WriteText(target, old);
    {
        FileSizeLimit limit(1024);
        EXPECT_THROW(WriteFileAtomically(target.string(), std::string(100000, 'n')), NumberedError);
    }
    EXPECT_EQ(Contents(target), old);
    EXPECT_EQ(EntriesIn(folder), 1u);
}

TEST(AtomicFile, NeverFollowsALinkAndFailsCleanlyWhereNoFileCanGo)
{
    const fs::path folder = FreshFolder("atomic");
    const fs::path victim = folder / "victim";
    WriteText(victim, "keep me");
    fs::create_symlink(victim, folder / "save.dat.new");
    WriteFileAtomically((folder / "save.dat").string(), std::string("game"));
    EXPECT_EQ(Contents(victim), "keep me");
    EXPECT_EQ(Contents(folder / "save.dat"), "game");

    fs::create_directory(folder / "taken");
    EXPECT_THROW(WriteFileAtomically((folder / "taken").string(), std::string("x")), NumberedError);
    EXPECT_TRUE(fs::is_directory(folder / "taken"));
    EXPECT_THROW(WriteFileAtomically((folder / "missing" / "file").string(), std::string("x")), NumberedError);
    EXPECT_EQ(EntriesIn(folder), 4u);
}
