#include "PlayRecords.h"

#include <gtest/gtest.h>

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
    EXPECT_TRUE(Contents(file).starts_with("tovrik-stats 1\n"));

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

TEST(PlayRecordsTest, DamagedFileIsSetAsideAndStatisticsStartAfresh)
{
    const fs::path file = FreshFile();
    const std::string damaged[] = {
        "",
        "something else\n",
        "tovrik-stats 1\n1 1 500 3\n",
        "tovrik-stats 1\n1 2 500 3 classic.tvm\n",
        "tovrik-stats 1\n1 1 -5 3 classic.tvm\n",
        "tovrik-stats 1\n1 1 500 3 classic.tvm\n1 1 500 3 classic.tvm\n",
        "tovrik-stats 1\nx 1 500 3 classic.tvm\n",
        std::string("tovrik-stats 1\n1 1 500\0 3 classic.tvm\n", 38),
    };
    for (const std::string& bytes : damaged) {
        fs::remove(file.string() + ".damaged");
        Write(file, bytes);
        PlayRecords records(file.string());
        EXPECT_EQ(records.Of("classic.tvm").started, 0) << bytes;
        EXPECT_EQ(records.SetAsidePath(), file.string() + ".damaged") << bytes;
        EXPECT_EQ(Contents(file.string() + ".damaged"), bytes) << "the damaged file is kept whole";
        EXPECT_FALSE(fs::exists(file)) << bytes;
        records.GameStarted("classic.tvm", 1);
        EXPECT_EQ(PlayRecords(file.string()).Of("classic.tvm").started, 1) << bytes;
    }
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
