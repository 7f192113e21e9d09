#include <gtest/gtest.h>

#include <tuple>

#include "PictureFit.h"
#include "PixelTestSupport.h"

namespace {

using Point = PictureFit::Point;

TEST(PictureFit, LargestWholeScaleCentred)
{
    struct Case {
        int32_t viewWidth, viewHeight, scale, left, top;
    };
    const Case cases[] = {{792, 566, 1, 0, 0},     {1583, 2000, 1, 395, 717}, {2560, 1440, 2, 488, 154},
                          {3840, 2160, 3, 732, 231}, {640, 480, 1, 0, 0}};
    for (const Case& c : cases) {
        const PictureFit fit = PictureFit::Of(792, 566, c.viewWidth, c.viewHeight);
        EXPECT_EQ(std::tuple(fit.scale, fit.left, fit.top), std::tuple(c.scale, c.left, c.top))
            << c.viewWidth << " x " << c.viewHeight;
    }
}

TEST(PictureFit, ViewPixelsMapBackByFloorDivisionInsideThePictureOnly)
{
    const PictureFit fit = PictureFit::Of(792, 566, 3840, 2160);
    EXPECT_EQ(fit.ToPicture(732, 231), Point(0, 0));
    EXPECT_EQ(fit.ToPicture(732 + 3 * 10 + 2, 231 + 3 * 20), Point(10, 20));
    EXPECT_EQ(fit.ToPicture(732 + 3 * 792 - 1, 231 + 3 * 566 - 1), Point(791, 565));
    EXPECT_EQ(fit.ToPicture(731, 300), std::nullopt);
    EXPECT_EQ(fit.ToPicture(800, 230), std::nullopt);
    EXPECT_EQ(fit.ToPicture(732 + 3 * 792, 300), std::nullopt);
    EXPECT_EQ(fit.ToPicture(800, 231 + 3 * 566), std::nullopt);
    EXPECT_EQ(fit.ToView(10, 20), Point(762, 291));
    EXPECT_EQ(PictureFit::Of(0, 0, 100, 100).ToPicture(50, 50), std::nullopt) << "no picture, nothing to hit";
}

TEST(PictureFit, ScaleToBlocksWritesExactBlocksOfTheRectangleOnly)
{
    const PixelSurface source = Painted(5, 4, Pattern);
    constexpr int32_t k = 3;
    constexpr std::ptrdiff_t stride = 3 * k + 2;
    std::vector<uint32_t> target(stride * 2 * k, 0xABCDEF);
    ScaleToBlocks(source.View(), {1, 2, 4, 4}, k, target.data(), stride);
    for (int32_t y = 0; y < 2 * k; ++y) {
        for (int32_t x = 0; x < stride; ++x) {
            const uint32_t expected = x < 3 * k ? Pattern(1 + x / k, 2 + y / k) : 0xABCDEF;
            ASSERT_EQ(target[y * stride + x], expected) << x << "," << y;
        }
    }
}

TEST(PictureFit, ScaledPictureScalesAgainOnlyWhatChanged)
{
    PixelSurface frame = Painted(6, 5, Pattern);
    ScaledPicture scaled;
    EXPECT_EQ(scaled.Update(frame.View(), 2).size(), 1U) << "the first frame is scaled whole";
    EXPECT_TRUE(scaled.Update(frame.View(), 2).empty());

    frame.Fill({1, 0, 2, 2}, 0x111111);
    frame.Fill({4, 1, 5, 2}, 0x222222);  // rows that change together make one rectangle
    frame.Fill({0, 4, 3, 5}, 0x333333);
    const std::vector<PixelRect> changed = scaled.Update(frame.View(), 2);
    ASSERT_EQ(changed.size(), 2U);
    EXPECT_EQ(std::tuple(changed[0].Left, changed[0].Top, changed[0].Right, changed[0].Bottom), std::tuple(1, 0, 5, 2));
    EXPECT_EQ(std::tuple(changed[1].Left, changed[1].Top, changed[1].Right, changed[1].Bottom), std::tuple(0, 4, 3, 5));
    ASSERT_EQ(scaled.Width(), 12);
    for (int32_t y = 0; y < 10; ++y)
        for (int32_t x = 0; x < 12; ++x)
            ASSERT_EQ(scaled.Pixels()[y * 12 + x], frame.Pixel(x / 2, y / 2)) << x << "," << y;

    const std::vector<PixelRect> rescaled = scaled.Update(frame.View(), 3);
    ASSERT_EQ(rescaled.size(), 1U);
    EXPECT_EQ(std::tuple(rescaled[0].Right, rescaled[0].Bottom), std::tuple(6, 5));
    EXPECT_EQ(scaled.Pixels()[3 * 18 * 4 + 3 * 5], frame.Pixel(5, 4)) << "a new scale scales everything";
}

} // namespace
