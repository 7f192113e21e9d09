#include "PlayRecords.h"
#include "StatsLock.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

fs::path FreshFile()
{
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    const fs::path folder = fs::path(TOVRIK_TEST_TMP) / "stats" / test->name();
    fs::remove_all(folder);
    // The data folder itself may not exist yet.
    return folder / "tovrik" / "stats.txt";
}

std::string Contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Write(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(PlayRecordsTest, CountsGamesAndBestTimesPerLayoutAcrossRuns)
{
    const fs::path file = FreshFile();
    {
        PlayRecords records(file.string());
        EXPECT_EQ(records.Of("classic.tvm").started, 0);
        EXPECT_EQ(records.Of("classic.tvm").bestMs, LayoutRecord::kNoTime);
        records.GameStarted("classic.tvm", 7);
        EXPECT_TRUE(records.GameWon("classic.tvm", 90'000));
        records.GameStarted("classic.tvm", 12);
        EXPECT_FALSE(records.GameWon("classic.tvm", 95'000)) << "slower is no new best";
        records.GameStarted("two words ✓.tvm", 3);
    }
    EXPECT_TRUE(Contents(file).starts_with("tovrik-stats 2\n"));

    PlayRecords again(file.string());
    const LayoutRecord classic = again.Of("classic.tvm");
    EXPECT_EQ(classic.started, 2);
    EXPECT_EQ(classic.won, 2);
    EXPECT_EQ(classic.bestMs, 90'000);
    EXPECT_EQ(classic.lastProblem, 12);
    EXPECT_EQ(again.Of("two words ✓.tvm").started, 1);
    EXPECT_EQ(again.Of("two words ✓.tvm").bestMs, LayoutRecord::kNoTime);
    EXPECT_TRUE(again.GameWon("classic.tvm", 80'000));
    EXPECT_EQ(PlayRecords(file.string()).Of("classic.tvm").bestMs, 80'000);
    EXPECT_TRUE(again.SetAsidePath().empty());
}

std::vector<fs::path> SetAsides(const fs::path& file)
{
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(file.parent_path()))
        if (entry.path().filename().string().starts_with(file.filename().string() + ".damaged-"))
            found.push_back(entry.path());
    std::sort(found.begin(), found.end());
    return found;
}

// Bad lines are kept aside, each time in a file of its own; the good records stay.
TEST(PlayRecordsTest, DamagedLinesAreKeptAsideAndTheGoodRecordsStay)
{
    const fs::path file = FreshFile();
    const std::string good = "3 1 500 3 shipped classic.tvm\n";
    const struct {
        std::string bytes;
        std::string keptAside;
    } cases[] = {
        {"tovrik-stats 2\n" + good + "1 2 500 3 shipped bad.tvm\n", "1 2 500 3 shipped bad.tvm\n"},
        {"tovrik-stats 2\n" + good + good, good},
        {"tovrik-stats 2\nx 1 500 3 shipped a.tvm\n" + good, "x 1 500 3 shipped a.tvm\n"},
        {"tovrik-stats 2\n" + good + "1 1 -5 3 shipped a.tvm\n1 1 5 3 elsewhere a.tvm", "1 1 -5 3 shipped a.tvm\n1 1 5 3 elsewhere a.tvm\n"},
        {"something else\n" + good, "something else\n"},
        {std::string("tovrik-stats 2\n1 1 500\0 3 shipped a.tvm\n", 40) + good, std::string("1 1 500\0 3 shipped a.tvm\n", 25)},
    };
    size_t asides = 0;
    for (const auto& [bytes, keptAside] : cases) {
        Write(file, bytes);
        PlayRecords records(file.string());
        EXPECT_EQ(records.Of("classic.tvm").started, 3) << bytes;
        ASSERT_EQ(SetAsides(file).size(), ++asides) << "an earlier set-aside is never overwritten";
        EXPECT_EQ(Contents(records.SetAsidePath()), keptAside);
        EXPECT_EQ(Contents(file), "tovrik-stats 2\n" + good) << "the file holds the good records only";
    }
}

// Each fault that lost or blocked statistics, reproduced.
TEST(PlayRecordsTest, StatisticsAreMergedNeverLostNorWaitedOn)
{
    const fs::path file = FreshFile();
    fs::create_directories(file.parent_path());

    // A FIFO in the file's place is moved aside at once instead of waited on.
    ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
    {
        PlayRecords records(file.string());
        records.GameStarted("classic.tvm", 1);
        EXPECT_TRUE(fs::is_fifo(records.SetAsidePath()));
    }
    EXPECT_EQ(PlayRecords(file.string()).Of("classic.tvm").started, 1);

    // Two instances writing in turn keep both records.
    PlayRecords first(file.string()), second(file.string());
    first.GameStarted("classic.tvm", 2);
    second.GameStarted("beginner.tvm", 5);
    first.GameStarted("classic.tvm", 3);
    EXPECT_TRUE(second.GameWon("beginner.tvm", 60'000));
    const PlayRecords reread(file.string());
    EXPECT_EQ(reread.Of("classic.tvm").started, 3);
    EXPECT_EQ(reread.Of("classic.tvm").lastProblem, 3);
    EXPECT_EQ(reread.Of("beginner.tvm").won, 1);

    // While another instance holds the lock the change waits in memory, counted, and goes in afterwards.
    {
        const StatsLock held(file.string() + ".lock");
        ASSERT_TRUE(held.Held());
        first.GameStarted("cross.tvm", 9);
        EXPECT_TRUE(first.Pending());
        EXPECT_EQ(first.Of("cross.tvm").started, 1);
    }
    EXPECT_TRUE(first.Flush());
    EXPECT_EQ(PlayRecords(file.string()).Of("cross.tvm").started, 1);

    // Counts stop at their largest value.
    Write(file, "tovrik-stats 2\n2147483647 2147483647 5 1 shipped classic.tvm\n");
    PlayRecords full(file.string());
    full.GameStarted("classic.tvm", 1);
    full.GameWon("classic.tvm", 10);
    EXPECT_EQ(Contents(file), "tovrik-stats 2\n2147483647 2147483647 5 1 shipped classic.tvm\n");
    EXPECT_TRUE(SetAsides(file).size() == 1u) << "only the FIFO was set aside";
}

// A player's layout of a shipped layout's name keeps a record of its own;
// a version 1 file is read with the names it had and written as version 2.
TEST(PlayRecordsTest, OwnLayoutsNeverMixWithShippedOnesAndVersion1Migrates)
{
    const fs::path file = FreshFile();
    Write(file, "tovrik-stats 1\n4 2 900 7 classic.tvm\n1 0 -1 3 mine.tvm\n");
    {
        PlayRecords records(file.string(), [](const std::string& name) { return name == "mine.tvm"; });
        EXPECT_EQ(records.Of("classic.tvm").started, 4);
        EXPECT_EQ(records.Of(RecordsText::OwnKey("mine.tvm")).started, 1);
        records.GameStarted(RecordsText::OwnKey("classic.tvm"), 2);
    }
    EXPECT_EQ(Contents(file), "tovrik-stats 2\n4 2 900 7 shipped classic.tvm\n1 0 -1 2 own classic.tvm\n"
                              "1 0 -1 3 own mine.tvm\n");
    EXPECT_TRUE(SetAsides(file).empty());
}

TEST(PlayRecordsTest, NamesTheLineFormatCannotHoldAreNotRecorded)
{
    const fs::path file = FreshFile();
    PlayRecords records(file.string());
    records.GameStarted("", 1);
    records.GameStarted("two\nlines.tvm", 1);
    EXPECT_FALSE(records.GameWon("two\nlines.tvm", 1000));
    EXPECT_FALSE(fs::exists(file));
    records.GameStarted("classic.tvm", 1);
    EXPECT_EQ(PlayRecords(file.string()).Of("classic.tvm").started, 1);
}

} // namespace
