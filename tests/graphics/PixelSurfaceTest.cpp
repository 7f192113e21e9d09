#include <gtest/gtest.h>

#include <iterator>
#include <limits>

#include "NumberedError.h"
#include "PixelSurface.h"
#include "PixelTestSupport.h"

namespace {

constexpr uint32_t Ground = 0xABCDEF;
constexpr int32_t Max32 = std::numeric_limits<int32_t>::max();
constexpr int32_t Min32 = std::numeric_limits<int32_t>::min();

uint32_t GroundEverywhere(int32_t, int32_t)
{
    return Ground;
}

}  // namespace

TEST(PixelSurface, RangeKeyTestsEachChannelAgainstItsOwnBounds)
{
    // Red 0x10..0x20, green 0x30..0x40, blue 0x50..0x60; the first three are inside.
    const uint32_t samples[] = {0x103050, 0x204060, 0xFF183858, 0x0F3858, 0x213858,
                                0x182F58, 0x184158, 0x18384F, 0x183861};
    const int32_t count = int32_t(std::size(samples));
    const PixelSurface source = Painted(count, 1, [&](int32_t x, int32_t) { return samples[x]; });
    PixelSurface target = Painted(count, 1, GroundEverywhere);
    const ColorKey key{0x103050, 0x204060};
    target.Copy(source.View(), {0, 0, count, 1}, 0, 0, &key);
    ExpectEverywhere(target, [&](int32_t x, int32_t) { return x < 3 ? Ground : samples[x]; });

    const ColorKey inverted{0x000020, 0xFFFF10};  // blue low above blue high: matches nothing
    target.Copy(source.View(), {0, 0, count, 1}, 0, 0, &inverted);
    ExpectEverywhere(target, [&](int32_t x, int32_t) { return samples[x] & 0xFFFFFF; });
}

TEST(PixelSurface, OverlappingCopyWithinOneSurfaceReadsTheOriginal)
{
    PixelSurface surface = Painted(8, 8, Pattern);
    surface.Copy(surface.View(), {0, 0, 6, 6}, 2, 2, nullptr);
    ExpectEverywhere(surface, [](int32_t x, int32_t y) {
        return x >= 2 && y >= 2 ? Pattern(x - 2, y - 2) : Pattern(x, y);
    });
    surface = Painted(8, 8, Pattern);
    const ColorKey key{Pattern(0, 0), Pattern(0, 0)};
    surface.StretchCopy(surface.View(), {0, 0, 7, 7}, {1, 1, 8, 8}, &key);
    ExpectEverywhere(surface, [](int32_t x, int32_t y) {
        return x >= 1 && y >= 1 && !(x == 1 && y == 1) ? Pattern(x - 1, y - 1) : Pattern(x, y);
    });
}

TEST(PixelSurface, ClippedCopiesWriteOnlyWhereBothSurfacesHavePixels)
{
    const PixelSurface small = Painted(2, 2, Pattern);
    PixelSurface wide = Painted(6, 4, GroundEverywhere);
    wide.CopyClipped(small.View(), 1, 0, {0, 0, 6, 4});
    ExpectEverywhere(wide,
                     [](int32_t x, int32_t y) { return x == 0 && y < 2 ? Pattern(1, y) : Ground; });

    // Doubled into (−2, −2)–(2, 2): only the bottom-right source pixel lands.
    PixelSurface target = Painted(4, 4, GroundEverywhere);
    target.StretchCopyClipped(small.View(), {0, 0, 2, 2}, {-2, -2, 2, 2});
    ExpectEverywhere(target,
                     [](int32_t x, int32_t y) { return x < 2 && y < 2 ? Pattern(1, 1) : Ground; });

    // A source rectangle twice the picture's width: its missing half draws nothing.
    target = Painted(4, 4, GroundEverywhere);
    target.StretchCopyClipped(small.View(), {0, 0, 4, 2}, {0, 0, 4, 2});
    ExpectEverywhere(target,
                     [](int32_t x, int32_t y) { return x < 2 && y < 2 ? Pattern(x, y) : Ground; });

    // The largest rectangle is mapped only where it meets the surface.
    target.StretchCopyClipped(small.View(), {0, 0, 2, 2}, {0, 0, Max32, Max32});
    ExpectEverywhere(target, [](int32_t, int32_t) { return Pattern(0, 0); });
}

TEST(PixelSurface, FillClipsAndOverflowingRectanglesAreErrors)
{
    PixelSurface surface = Painted(5, 4, GroundEverywhere);
    surface.Fill({3, 2, 50, 50}, 0x112233);
    surface.Fill({2, 2, 1, 3}, 0x445566);  // reversed: nothing
    ExpectEverywhere(surface,
                     [](int32_t x, int32_t y) { return x >= 3 && y >= 2 ? 0x112233u : Ground; });
    try {
        surface.Fill({Min32, 0, Max32, 1}, 0);
        FAIL() << "an overflowing width was accepted";
    } catch (const NumberedError& error) {
        EXPECT_EQ(error.number(), NumberedError::Overflow);
    }
    EXPECT_THROW(surface.Copy(surface.View(), {0, Min32, 1, Max32}, 0, 0, nullptr), NumberedError);
    EXPECT_THROW(surface.CopyClipped(surface.View(), 0, 0, {Max32, 0, Min32, 1}), NumberedError);
}
