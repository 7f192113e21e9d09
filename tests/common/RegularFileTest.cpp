#include "NumberedError.h"
#include "RegularFile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>

namespace fs = std::filesystem;

namespace {

fs::path FreshFolder()
{
    const fs::path folder = fs::path(TOVRIK_TEST_TMP) / "regular-file";
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

// What reading path with a limit of 10 bytes raises, or "" when it reads.
std::string ReadFault(const fs::path& path)
{
    try {
        ReadRegularFile(path.string(), 10, "the test file");
        return "";
    } catch (const NumberedError& error) {
        return error.what();
    }
}

} // namespace

TEST(RegularFile, ReadersRefuseAtOnceWhatTheyCannotTakeWhole)
{
    const fs::path folder = FreshFolder();
    std::ofstream(folder / "ten") << "0123456789";
    std::ofstream(folder / "eleven") << "0123456789A";
    std::ofstream(folder / "sparse").put('x');
    fs::resize_file(folder / "sparse", 1ULL << 40);  // a terabyte of holes: refused by size, never read
    ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
    fs::create_symlink("ten", folder / "link");

    EXPECT_EQ(ReadRegularFile((folder / "ten").string(), 10, "the test file").size(), 10u);
    EXPECT_EQ(ReadRegularFile((folder / "link").string(), 10, "the test file").size(), 10u) << "links are read";
    const struct {
        fs::path path;
        std::string fault;
    } cases[] = {
        {folder / "eleven", "Overflow (error 6): the test file " + (folder / "eleven").string() + " is larger than 10 bytes"},
        {folder / "sparse", "Overflow (error 6): the test file " + (folder / "sparse").string() + " is larger than 10 bytes"},
        {folder, "Path/File access error (error 75): " + folder.string() + " is not a regular file"},
        {folder / "fifo", "Path/File access error (error 75): " + (folder / "fifo").string() + " is not a regular file"},
        {"/dev/zero", "Path/File access error (error 75): /dev/zero is not a regular file"},
        {folder / "absent", "File not found (error 53): " + (folder / "absent").string() + ": No such file or directory"},
    };
    for (const auto& refused : cases) {
        // A reader that waits for a FIFO's writer would never return: give it one so the test ends, and fail.
        auto fault = std::async(std::launch::async, ReadFault, refused.path);
        if (fault.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << refused.path << " blocked the reader";
            ::close(::open(refused.path.c_str(), O_WRONLY | O_NONBLOCK));
        }
        EXPECT_EQ(fault.get(), refused.fault);
    }
    EXPECT_EQ(SizeLimitText(64ULL << 20), "64 MiB");
}
