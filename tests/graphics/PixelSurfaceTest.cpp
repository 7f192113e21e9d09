#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>

#include "NumberedError.h"
#include "PixelSurface.h"

namespace {

using PixelRule = std::function<uint32_t(int32_t x, int32_t y)>;

void Paint(PixelSurface& surface, const PixelRule& rule)
{
    for (int32_t y = 0; y < surface.Height(); ++y) {
        for (int32_t x = 0; x < surface.Width(); ++x) {
            surface.Pixels()[y * surface.Stride() + x] = rule(x, y);
        }
    }
}

// A distinct value for every pixel of a surface up to 256 × 256.
uint32_t Pattern(int32_t x, int32_t y)
{
    return 0x010000u | (uint32_t(y) << 8) | uint32_t(x);
}

constexpr uint32_t Ground = 0x00ABCDEF;

PixelSurface Uniform(int32_t w, int32_t h, uint32_t value)
{
    PixelSurface surface(w, h);
    surface.Fill({0, 0, w, h}, value);
    return surface;
}

void ExpectEverywhere(const PixelSurface& surface, const PixelRule& expected)
{
    for (int32_t y = 0; y < surface.Height(); ++y) {
        for (int32_t x = 0; x < surface.Width(); ++x) {
            ASSERT_EQ(surface.Pixel(x, y), expected(x, y)) << "at (" << x << ", " << y << ")";
        }
    }
}

}  // namespace

TEST(PixelSurface, RefusesEmptyAndHugeSizes)
{
    EXPECT_NO_THROW(PixelSurface(1, 1));
    EXPECT_NO_THROW(PixelSurface(PixelSurface::MaxSide, 1));
    try {
        PixelSurface(PixelSurface::MaxSide + 1, 16);
        FAIL() << "an oversized surface was accepted";
    } catch (const NumberedError& error) {
        EXPECT_EQ(error.number(), NumberedError::Overflow);
    }
    EXPECT_THROW(PixelSurface(16, std::numeric_limits<int32_t>::max()), NumberedError);
    try {
        PixelSurface(0, 10);
        FAIL() << "an empty surface was accepted";
    } catch (const NumberedError& error) {
        EXPECT_EQ(error.number(), NumberedError::InvalidArgument);
    }
    EXPECT_THROW(PixelSurface(10, -3), NumberedError);
}

TEST(PixelSurface, PlainCopyMovesEveryPixelOfTheRectangleOnly)
{
    PixelSurface source(8, 6);
    Paint(source, Pattern);
    PixelSurface target = Uniform(10, 10, Ground);
    target.Copy(source.View(), {2, 1, 6, 4}, 5, 7, nullptr);
    ExpectEverywhere(target, [](int32_t x, int32_t y) {
        const bool inside = x >= 5 && x < 9 && y >= 7 && y < 10;
        return inside ? Pattern(x - 5 + 2, y - 7 + 1) : Ground;
    });
}

TEST(PixelSurface, UnclippedCopyDrawsNothingWhenARectangleReachesOutside)
{
    PixelSurface source(8, 8);
    Paint(source, Pattern);
    PixelSurface target = Uniform(8, 8, Ground);
    const PixelRule untouched = [](int32_t, int32_t) { return Ground; };

    target.Copy(source.View(), {0, 0, 4, 4}, 5, 0, nullptr);   // runs off the right edge
    target.Copy(source.View(), {0, 0, 4, 4}, 0, -1, nullptr);  // starts above the top
    target.Copy(source.View(), {6, 0, 10, 4}, 0, 0, nullptr);  // source past its edge
    target.Copy(source.View(), {-1, 0, 3, 4}, 0, 0, nullptr);
    target.Copy(source.View(), {4, 4, 2, 6}, 0, 0, nullptr);   // reversed
    target.Copy(source.View(), {0, 0, 0, 4}, 0, 0, nullptr);   // empty
    target.Copy(source.View(), {0, 0, 4, 4}, std::numeric_limits<int32_t>::max() - 1, 0, nullptr);
    ExpectEverywhere(target, untouched);

    target.Copy(source.View(), {4, 4, 8, 8}, 4, 4, nullptr);  // touching both far edges is fine
    EXPECT_EQ(target.Pixel(7, 7), Pattern(7, 7));
}

TEST(PixelSurface, ExactKeyLeavesTargetWhereSourceHasTheKeyColour)
{
    constexpr uint32_t Magenta = 0xFF00FF;
    PixelSurface source(6, 5);
    Paint(source, [](int32_t x, int32_t y) { return (x + y) % 3 == 0 ? Magenta : Pattern(x, y); });
    // The unused top byte does not stop a pixel from matching the key.
    source.Pixels()[1] = 0xFF000000u | Magenta;
    PixelSurface target = Uniform(6, 5, Ground);
    const ColorKey key{Magenta, Magenta};
    target.Copy(source.View(), {0, 0, 6, 5}, 0, 0, &key);
    ExpectEverywhere(target, [](int32_t x, int32_t y) {
        if (y == 0 && x == 1) {
            return Ground;
        }
        return (x + y) % 3 == 0 ? Ground : Pattern(x, y);
    });
}

TEST(PixelSurface, RangeKeyTestsEachChannelAgainstItsOwnBounds)
{
    // Red 0x10..0x20, green 0x30..0x40, blue 0x50..0x60.
    const ColorKey key{0x103050, 0x204060};
    const uint32_t samples[] = {
        0x103050,  // lowest corner: transparent
        0x204060,  // highest corner: transparent
        0x183858,  // inside: transparent
        0x0F3858,  // red one below
        0x213858,  // red one above
        0x182F58,  // green below
        0x184158,  // green above
        0x18384F,  // blue below
        0x183861,  // blue above
        0x000000,
    };
    constexpr int32_t Count = int32_t(std::size(samples));
    PixelSurface source(Count, 1);
    for (int32_t i = 0; i < Count; ++i) {
        source.Pixels()[i] = samples[i];
    }
    PixelSurface target = Uniform(Count, 1, Ground);
    target.Copy(source.View(), {0, 0, Count, 1}, 0, 0, &key);
    for (int32_t i = 0; i < Count; ++i) {
        EXPECT_EQ(target.Pixel(i, 0), i < 3 ? Ground : samples[i]) << "sample " << i;
    }
}

TEST(PixelSurface, KeyWithLowAboveHighInAChannelMatchesNothing)
{
    const ColorKey key{0x000020, 0xFFFF10};
    PixelSurface source = Uniform(3, 2, 0x000018);
    PixelSurface target = Uniform(3, 2, Ground);
    target.Copy(source.View(), {0, 0, 3, 2}, 0, 0, &key);
    ExpectEverywhere(target, [](int32_t, int32_t) { return 0x000018u; });
}

TEST(PixelSurface, OverlappingCopyWithinOneSurfaceReadsTheOriginal)
{
    PixelSurface surface(8, 8);
    Paint(surface, Pattern);
    surface.Copy(surface.View(), {0, 0, 6, 6}, 2, 2, nullptr);
    ExpectEverywhere(surface, [](int32_t x, int32_t y) {
        return x >= 2 && y >= 2 ? Pattern(x - 2, y - 2) : Pattern(x, y);
    });

    Paint(surface, Pattern);
    surface.Copy(surface.View(), {1, 1, 8, 8}, 0, 0, nullptr);
    ExpectEverywhere(surface, [](int32_t x, int32_t y) {
        return x < 7 && y < 7 ? Pattern(x + 1, y + 1) : Pattern(x, y);
    });
}

TEST(PixelSurface, StretchCopyScalesUpAndDown)
{
    PixelSurface source(3, 2);
    Paint(source, Pattern);
    PixelSurface target = Uniform(8, 6, Ground);
    target.StretchCopy(source.View(), {0, 0, 3, 2}, {1, 1, 7, 5}, nullptr);  // twice the size
    ExpectEverywhere(target, [](int32_t x, int32_t y) {
        const bool inside = x >= 1 && x < 7 && y >= 1 && y < 5;
        return inside ? Pattern((x - 1) / 2, (y - 1) / 2) : Ground;
    });

    PixelSurface blocks(6, 4);  // 2 × 2 blocks: every sampling of a block agrees
    Paint(blocks, [](int32_t x, int32_t y) { return Pattern(x / 2, y / 2); });
    PixelSurface small = Uniform(3, 2, Ground);
    small.StretchCopy(blocks.View(), {0, 0, 6, 4}, {0, 0, 3, 2}, nullptr);
    ExpectEverywhere(small, Pattern);

    PixelSurface same = Uniform(3, 2, Ground);
    same.StretchCopy(source.View(), {0, 0, 3, 2}, {0, 0, 3, 2}, nullptr);
    ExpectEverywhere(same, Pattern);
}

TEST(PixelSurface, StretchCopyHonoursTheKeyAndDrawsNothingOutside)
{
    constexpr uint32_t Red = 0xFF0000;
    PixelSurface source(2, 1);
    source.Pixels()[0] = Red;
    source.Pixels()[1] = 0x000077;
    PixelSurface target = Uniform(4, 2, Ground);
    const ColorKey key{Red, Red};
    target.StretchCopy(source.View(), {0, 0, 2, 1}, {0, 0, 4, 2}, &key);
    ExpectEverywhere(target, [](int32_t x, int32_t) { return x < 2 ? Ground : 0x000077u; });

    PixelSurface untouched = Uniform(4, 2, Ground);
    untouched.StretchCopy(source.View(), {0, 0, 2, 1}, {1, 0, 5, 2}, nullptr);
    untouched.StretchCopy(source.View(), {0, 0, 3, 1}, {0, 0, 4, 2}, nullptr);
    ExpectEverywhere(untouched, [](int32_t, int32_t) { return Ground; });
}

TEST(PixelSurface, ClippedCopyCentresALargerPictureCuttingBothSides)
{
    PixelSurface picture(10, 8);
    Paint(picture, Pattern);
    PixelSurface board = Uniform(6, 4, Ground);
    // Centred: left = (6 − 10) / 2 = −2, top = (4 − 8) / 2 = −2.
    board.CopyClipped(picture.View(), 0, 0, {-2, -2, 8, 6});
    ExpectEverywhere(board, [](int32_t x, int32_t y) { return Pattern(x + 2, y + 2); });

    PixelSurface margin = Uniform(6, 4, Ground);
    PixelSurface small(2, 2);
    Paint(small, Pattern);
    margin.CopyClipped(small.View(), 0, 0, {2, 1, 4, 3});
    ExpectEverywhere(margin, [](int32_t x, int32_t y) {
        const bool inside = x >= 2 && x < 4 && y >= 1 && y < 3;
        return inside ? Pattern(x - 2, y - 1) : Ground;
    });

    // A target larger than the source: pixels without a source stay as they are.
    PixelSurface wide = Uniform(6, 4, Ground);
    wide.CopyClipped(small.View(), 1, 0, {0, 0, 6, 4});
    ExpectEverywhere(wide, [](int32_t x, int32_t y) {
        return x == 0 && y < 2 ? Pattern(1, y) : Ground;
    });
}

TEST(PixelSurface, ClippedStretchCopyWritesOnlyWhereBothSurfacesHavePixels)
{
    PixelSurface picture(2, 2);
    Paint(picture, Pattern);
    PixelSurface target = Uniform(4, 4, Ground);
    // Doubled into (−2, −2)–(2, 2): only the bottom-right source pixel lands.
    target.StretchCopyClipped(picture.View(), {0, 0, 2, 2}, {-2, -2, 2, 2});
    ExpectEverywhere(target, [](int32_t x, int32_t y) {
        return x < 2 && y < 2 ? Pattern(1, 1) : Ground;
    });

    PixelSurface beyond = Uniform(4, 4, Ground);
    // The source rectangle reaches past the picture: its missing half draws nothing.
    beyond.StretchCopyClipped(picture.View(), {0, 0, 4, 2}, {0, 0, 4, 2});
    ExpectEverywhere(beyond, [](int32_t x, int32_t y) {
        return x < 2 && y < 2 ? Pattern(x, y) : Ground;
    });

    PixelSurface vast = Uniform(4, 4, Ground);
    const int32_t big = std::numeric_limits<int32_t>::max();
    vast.StretchCopyClipped(picture.View(), {0, 0, 2, 2}, {0, 0, big, big});
    EXPECT_EQ(vast.Pixel(3, 3), Pattern(0, 0));  // the first source pixel covers the surface
}

TEST(PixelSurface, FillClipsToTheSurfaceAndRejectsOverflowingRectangles)
{
    PixelSurface surface = Uniform(5, 4, Ground);
    surface.Fill({3, 2, 50, 50}, 0x112233);
    surface.Fill({2, 2, 1, 3}, 0x445566);  // reversed: nothing
    ExpectEverywhere(surface, [](int32_t x, int32_t y) {
        return x >= 3 && y >= 2 ? 0x112233u : Ground;
    });
    const int32_t low = std::numeric_limits<int32_t>::min();
    const int32_t high = std::numeric_limits<int32_t>::max();
    try {
        surface.Fill({low, 0, high, 1}, 0);
        FAIL() << "an overflowing width was accepted";
    } catch (const NumberedError& error) {
        EXPECT_EQ(error.number(), NumberedError::Overflow);
    }
    EXPECT_THROW(surface.Copy(surface.View(), {0, low, 1, high}, 0, 0, nullptr), NumberedError);
}
