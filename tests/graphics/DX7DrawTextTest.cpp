#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DX7Draw.h"

namespace {

constexpr int32_t Width = 160;
constexpr int32_t Height = 80;
constexpr uint32_t WhitePixel = 0xFFFFFF;

// A layer whose back surface is white, with text drawn by draw().
template <typename Draw>
std::unique_ptr<DX7Draw> Drawn(Draw draw)
{
    auto layer = std::make_unique<DX7Draw>();
    layer->Initialize(nullptr, nullptr, Width, Height);
    const int32_t white = layer->GetFreeNumber();
    layer->CreateSprite(white, Width, Height);
    layer->DD7Fill(white, {0, 0, Width, Height}, 0xFFFFFF);
    layer->DD7BltFast(0, 0, white, {0, 0, Width, Height});
    draw(*layer);
    return layer;
}

std::unique_ptr<DX7Draw> WithText(int32_t x, int32_t y, const std::string& text)
{
    return Drawn([&](DX7Draw& layer) { layer.DD7DrawText(x, y, text); });
}

std::vector<uint32_t> Pixels(const DX7Draw& layer)
{
    std::vector<uint32_t> pixels;
    const PixelSurface& back = *layer.BackSurface();
    for (int32_t y = 0; y < back.Height(); ++y) {
        for (int32_t x = 0; x < back.Width(); ++x) {
            pixels.push_back(back.Pixel(x, y) & 0xFFFFFF);
        }
    }
    return pixels;
}

struct Ink {
    int32_t top = Height, bottom = -1, left = Width, right = -1;
    bool Any() const { return bottom >= 0; }
};

Ink InkOf(const DX7Draw& layer)
{
    Ink ink;
    const PixelSurface& back = *layer.BackSurface();
    for (int32_t y = 0; y < back.Height(); ++y) {
        for (int32_t x = 0; x < back.Width(); ++x) {
            if ((back.Pixel(x, y) & 0xFFFFFF) != WhitePixel) {
                ink = {std::min(ink.top, y), std::max(ink.bottom, y), std::min(ink.left, x),
                       std::max(ink.right, x)};
            }
        }
    }
    return ink;
}

}  // namespace

TEST(DX7DrawText, CrLfStartsALineFourteenPixelsLower)
{
    const auto split = WithText(10, 20, "a\r\nb");
    const auto separate = Drawn([](DX7Draw& layer) {
        layer.DD7DrawText(10, 20, "a");
        layer.DD7DrawText(10, 34, "b");
    });
    EXPECT_EQ(Pixels(*split), Pixels(*separate));

    const Ink first = InkOf(*WithText(10, 20, "a"));
    const Ink second = InkOf(*WithText(10, 34, "b"));
    ASSERT_TRUE(first.Any());
    EXPECT_GE(first.top, 20);  // drawn below its position, not on a baseline there
    EXPECT_LT(first.bottom, 34);
    EXPECT_GE(first.left, 10);
    EXPECT_GE(second.top, 34);
}

TEST(DX7DrawText, AnEmptyLineStillTakesItsPitch)
{
    const auto text = WithText(4, 2, "x\r\n\r\ny\r\n");
    const auto separate = Drawn([](DX7Draw& layer) {
        layer.DD7DrawText(4, 2, "x");
        layer.DD7DrawText(4, 30, "y");
    });
    EXPECT_EQ(Pixels(*text), Pixels(*separate));
}

TEST(DX7DrawText, LoneLineFeedOrCarriageReturnDoesNotSplit)
{
    const Ink alone = InkOf(*WithText(10, 20, "a"));
    for (const std::string text : {"a\nb", "a\rb"}) {
        const Ink joined = InkOf(*WithText(10, 20, text));
        EXPECT_LT(joined.bottom, 34) << "a lone break moved text to a new line";
        EXPECT_GT(joined.right, alone.right) << "the rest of the line was not drawn";
    }
}

TEST(DX7DrawText, EmptyTextDrawsNothingAndJapaneseTextDraws)
{
    const auto blank = WithText(10, 20, "");
    EXPECT_FALSE(InkOf(*blank).Any());
    const Ink japanese = InkOf(*WithText(10, 20, "解答作成モード"));
    ASSERT_TRUE(japanese.Any());
    EXPECT_GT(japanese.right - japanese.left, 40);  // seven glyphs, not one fallback box
}

TEST(DX7DrawText, SetFontChangesTheGlyphs)
{
    QFont large;
    large.setPointSize(20);
    const auto small = WithText(0, 0, "WWW");
    const auto big = Drawn([&](DX7Draw& layer) {
        layer.DD7SetFont(large);
        layer.DD7DrawText(0, 0, "WWW");
    });
    EXPECT_GT(InkOf(*big).right, InkOf(*small).right);
}
