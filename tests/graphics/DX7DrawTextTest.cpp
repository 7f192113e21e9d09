#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "DX7Draw.h"

namespace {

constexpr int32_t Width = 160;
constexpr int32_t Height = 80;

// A layer with a white back surface on which draw() has run.
std::unique_ptr<DX7Draw> Drawn(const std::function<void(DX7Draw&)>& draw)
{
    auto layer = std::make_unique<DX7Draw>();
    layer->Initialize(nullptr, nullptr, Width, Height);
    layer->CreateSprite(1, Width, Height);
    layer->DD7Fill(1, {0, 0, Width, Height}, 0xFFFFFF);
    layer->DD7BltFast(0, 0, 1, {0, 0, Width, Height});
    draw(*layer);
    return layer;
}

std::unique_ptr<DX7Draw> WithText(int32_t x, int32_t y, const std::string& text)
{
    return Drawn([&](DX7Draw& layer) { layer.DD7DrawText(x, y, text); });
}

bool SamePicture(const DX7Draw& a, const DX7Draw& b)
{
    const PixelSurface& left = *a.BackSurface();
    const PixelSurface& right = *b.BackSurface();
    return std::equal(left.Pixels(), left.Pixels() + Width * Height, right.Pixels());
}

// The bounding box of everything not white.
struct Ink {
    int32_t top = Height, bottom = -1, left = Width, right = -1;
};

Ink InkOf(const DX7Draw& layer)
{
    Ink ink;
    for (int32_t y = 0; y < Height; ++y) {
        for (int32_t x = 0; x < Width; ++x) {
            if ((layer.BackSurface()->Pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                ink = {std::min(ink.top, y), std::max(ink.bottom, y), std::min(ink.left, x),
                       std::max(ink.right, x)};
            }
        }
    }
    return ink;
}

}  // namespace

TEST(DX7DrawText, EachCrLfStartsALineFourteenPixelsLower)
{
    EXPECT_TRUE(SamePicture(*WithText(10, 20, "a\r\nb"), *Drawn([](DX7Draw& layer) {
        layer.DD7DrawText(10, 20, "a");
        layer.DD7DrawText(10, 34, "b");
    })));
    EXPECT_TRUE(SamePicture(*WithText(4, 2, "x\r\n\r\ny\r\n"), *Drawn([](DX7Draw& layer) {
        layer.DD7DrawText(4, 2, "x");
        layer.DD7DrawText(4, 30, "y");  // the empty line takes its 14 pixels
    })));
    const Ink first = InkOf(*WithText(10, 20, "a"));
    EXPECT_GE(first.top, 20);  // the position is the line's top, not its baseline
    EXPECT_LT(first.bottom, 34);
    EXPECT_GE(first.left, 10);
}

TEST(DX7DrawText, LoneBreaksDoNotSplitAndEmptyTextDrawsNothing)
{
    const Ink alone = InkOf(*WithText(10, 20, "a"));
    for (const std::string text : {"a\nb", "a\rb"}) {
        const Ink joined = InkOf(*WithText(10, 20, text));
        EXPECT_LT(joined.bottom, 34) << "a lone break started a new line";
        EXPECT_GT(joined.right, alone.right) << "the rest of the line is missing";
    }
    EXPECT_EQ(InkOf(*WithText(10, 20, "")).bottom, -1);
}

TEST(DX7DrawText, JapaneseTextAndTheSetFontAreUsed)
{
    const Ink japanese = InkOf(*WithText(10, 20, "解答作成モード"));
    EXPECT_GT(japanese.right - japanese.left, 40);  // seven glyphs, not one fallback box
    QFont large;
    large.setPointSize(20);
    const auto big = Drawn([&](DX7Draw& layer) {
        layer.DD7SetFont(large);
        layer.DD7DrawText(0, 0, "WWW");
    });
    EXPECT_GT(InkOf(*big).right, InkOf(*WithText(0, 0, "WWW")).right);
}
