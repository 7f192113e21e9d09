#include "RandomSource.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<float> Sequence(RandomSource& source, int count)
{
    std::vector<float> values;
    for (int i = 0; i < count; ++i)
        values.push_back(source.Next());
    return values;
}

std::vector<float> SeededSequence(int32_t number, int count)
{
    RandomSource source;
    source.Reset(-19384);
    source.Seed(number);
    return Sequence(source, count);
}

} // namespace

TEST(RandomSource, OneNumberAlwaysGivesOneSequenceAndResetForgetsEarlierUse)
{
    RandomSource used;
    used.Reset(-19384);
    used.Seed(99);
    Sequence(used, 1000);
    used.Reset(-19384);
    used.Seed(7);
    EXPECT_EQ(Sequence(used, 50), SeededSequence(7, 50));
}

TEST(RandomSource, SequenceIsPinnedAcrossBuilds)
{
    // Deals are built from this sequence; a change here changes every numbered problem.
    RandomSource source;
    source.Reset(-19384);
    source.Seed(1);
    const std::vector<int32_t> draws = {source.Draw(99999), source.Draw(99999), source.Draw(99999)};
    RandomSource again;
    again.Reset(-19384);
    again.Seed(1);
    EXPECT_EQ(draws, (std::vector<int32_t>{again.Draw(99999), again.Draw(99999), again.Draw(99999)}));
    EXPECT_EQ(draws, (std::vector<int32_t>{22392, 36607, 84115}));
}

TEST(RandomSource, DifferentNumbersAndClockSeedsGiveDifferentSequences)
{
    EXPECT_NE(SeededSequence(1, 20), SeededSequence(2, 20));
    EXPECT_NE(SeededSequence(0, 20), SeededSequence(65536, 20));

    RandomSource first;
    RandomSource second;
    first.Reset(-19384);
    second.Reset(-19384);
    first.SeedFromClock();
    second.SeedFromClock();
    EXPECT_NE(Sequence(first, 20), Sequence(second, 20));
}

TEST(RandomSource, ValuesStayInUnitIntervalAndDrawsCoverTheirRange)
{
    RandomSource source;
    source.Reset(-19384);
    source.Seed(12345);
    std::vector<int> hits(4, 0);
    for (int i = 0; i < 20000; ++i) {
        const float value = source.Next();
        ASSERT_GE(value, 0.0f);
        ASSERT_LT(value, 1.0f);
        const int32_t index = source.Draw(3);
        ASSERT_GE(index, 0);
        ASSERT_LE(index, 3);
        ++hits[index];
    }
    for (int count : hits)
        EXPECT_GT(count, 4000);
}
