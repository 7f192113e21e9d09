// The pieces every writer of the player's files shares: quoting what a message
// echoes, reasons in errno's words, set-asides that never overwrite one
// another, and the clean-up after a writer killed mid-write.
#include "AtomicFile.h"
#include "FileTestSupport.h"
#include "NumberedError.h"
#include "QuotedText.h"
#include "SetAside.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

namespace fs = std::filesystem;

namespace {

void Age(const fs::path& path, int seconds)
{
    const time_t then = ::time(nullptr) - seconds;
    const utimbuf times{then, then};
    ASSERT_EQ(::utime(path.c_str(), &times), 0);
}

std::string ErrorText(const std::function<void()>& action)
{
    try {
        action();
    } catch (const NumberedError& error) {
        return error.what();
    }
    return "no error";
}

TEST(PlayerFiles, EchoedTextIsQuotedEscapedAndCut)
{
    const struct {
        std::string text;
        std::string quoted;
    } cases[] = {
        {"classic.tvm", "\"classic.tvm\""},
        {"0\x1b[2J", "\"0\\x1b[2J\""},
        {"a\"b\\c\nd\x7f", "\"a\\\"b\\\\c\\x0ad\\x7f\""},
        {"\xc2\x9b" "31m", "\"\\u009b31m\""},
        {"段々畑", "\"段々畑\""},
        {std::string(500, 'x'), "\"" + std::string(120, 'x') + "\"..."},
        // A cut never splits a character.
        {std::string(119, 'x') + "畑", "\"" + std::string(119, 'x') + "\"..."},
    };
    for (const auto& [text, quoted] : cases)
        EXPECT_EQ(QuotedText(text), quoted) << text;
    // A path is shown whole, so that the player can find the file.
    const std::string longPath = "/" + std::string(300, 'p') + "/tovrik.conf.damaged-20261208-120000";
    EXPECT_EQ(QuotedPath(longPath), "\"" + longPath + "\"");
    EXPECT_EQ(QuotedPath("/tmp/\x1b[2J"), "\"/tmp/\\x1b[2J\"");
}

TEST(PlayerFiles, ReasonsSayWhatHappened)
{
    const fs::path folder = FreshFolder("playerfiles");
    fs::create_directory(folder / "locked");
    fs::permissions(folder / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    std::ofstream(folder / "file") << "x";
    const bool root = ::geteuid() == 0;
    struct {
        std::function<void()> action;
        std::string expected;
    } cases[] = {
        {[&] { CreateFolders((folder / "file" / "sub").string()); },
         "cannot create folder " + (folder / "file" / "sub").string() + ": Not a directory"},
        {[&] { CreateFolders((folder / "locked" / "sub").string()); },
         root ? "no error" : "cannot create folder " + (folder / "locked" / "sub").string() + ": Permission denied"},
        {[&] {
             rlimit saved{};
             getrlimit(RLIMIT_FSIZE, &saved);
             rlimit limited = saved;
             limited.rlim_cur = 10;
             const auto previous = std::signal(SIGXFSZ, SIG_IGN);
             setrlimit(RLIMIT_FSIZE, &limited);
             try {
                 WriteFileAtomically((folder / "big").string(), std::string(100, 'b'));
             } catch (...) {
                 setrlimit(RLIMIT_FSIZE, &saved);
                 std::signal(SIGXFSZ, previous);
                 throw;
             }
         },
         (folder / "big").string() + ": File too large"},
    };
    for (const auto& [action, expected] : cases) {
        const std::string text = ErrorText(action);
        EXPECT_NE(text.find(expected), std::string::npos) << text;
        EXPECT_EQ(text.find("Disk full"), std::string::npos) << text;
    }
    fs::permissions(folder / "locked", fs::perms::owner_all);
}

TEST(PlayerFiles, SetAsidesNeverOverwriteOneAnother)
{
    const fs::path folder = FreshFolder("playerfiles");
    const fs::path file = folder / "stats.txt";
    std::vector<std::string> asides;
    for (const std::string bytes : {"first", "second", "third"}) {
        std::ofstream(file) << bytes;
        asides.push_back(MoveAside(file.string()));
    }
    asides.push_back(KeepAside(file.string(), "fourth"));
    ::mkfifo(file.c_str(), 0600);
    asides.push_back(MoveAside(file.string()));
    const std::string expected[] = {"first", "second", "third", "fourth"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(fs::path(asides[i]).filename().string().starts_with("stats.txt.damaged-")) << asides[i];
        EXPECT_EQ(Contents(asides[i]), expected[i]);
    }
    EXPECT_TRUE(fs::is_fifo(asides[4]));
    EXPECT_FALSE(fs::exists(file));
}

// Whenever the writer dies, the file is the old or the new one whole, and the
// next start removes what the killed write left.
TEST(PlayerFiles, AKillDuringAWriteLeavesTheOldFileAndNoStaleTemporaryAfterTheNextStart)
{
    const fs::path folder = FreshFolder("playerfiles");
    const fs::path file = folder / "stats.txt";
    const std::string oldBytes(1 << 20, 'o'), newBytes(1 << 20, 'n');
    for (int delayUs : {0, 200, 2000, 20000}) {
        std::ofstream(file, std::ios::binary) << oldBytes;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;)
                WriteFileAtomically(file.string(), newBytes);
        }
        ::usleep(static_cast<useconds_t>(delayUs));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = Contents(file);
        EXPECT_TRUE(now == oldBytes || now == newBytes) << delayUs;
    }
    // A killed write's leftover, one of another program and a fresh one of a write in progress.
    const fs::path stale = folder / ".stats.txt.4242-0-17.tmp", foreign = folder / ".other.tmp",
                   fresh = folder / ".stats.txt.4243-0-18.tmp";
    for (const fs::path& path : {stale, foreign, fresh})
        std::ofstream(path) << "x";
    Age(stale, 120);
    Age(foreign, 120);
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".tmp" && entry.path() != fresh)
            Age(entry.path(), 120);
    RemoveStaleTemporaries(folder.string());
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(foreign));
    EXPECT_TRUE(fs::exists(fresh));
    for (const auto& entry : fs::directory_iterator(folder))
        EXPECT_TRUE(entry.path() == file || entry.path() == foreign || entry.path() == fresh) << entry.path();
}

} // namespace
