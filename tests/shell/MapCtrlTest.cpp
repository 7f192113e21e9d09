#include "DX7Draw.h"
#include "MapCtrl.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// A button-bar sheet whose regions carry colours of their own (red channel =
// region number) over the transparent red: each drawn pixel tells its source.
constexpr int kCursor = 1, kDigit0 = 10, kCaption = 30, kUnit = 31, kFace0 = 40, kLabel1 = 50;

QImage MarkedSheet()
{
    QImage sheet(221, 302, QImage::Format_RGB32);
    sheet.fill(qRgb(255, 0, 0));
    QPainter painter(&sheet);
    const auto mark = [&](int x, int y, int w, int h, int region) { painter.fillRect(x, y, w, h, qRgb(region, 200, 100)); };
    mark(0, 0, 20, 22, kCursor);
    for (int d = 0; d < 10; ++d)
        mark(21 + 12 * d, 0, 12, 22, kDigit0 + d);
    mark(142, 0, 44, 22, kCaption);
    mark(186, 0, 22, 22, kUnit);
    for (int m = 0; m < 3; ++m)
        mark(0, 45 + 32 * m, 110, 32, kFace0 + m);
    for (int i = 0; i < 3; ++i) // labels only in their corner, so the face shows beside them
        mark(110, 45 + 32 * i, 10, 10, kLabel1 + i);
    return sheet;
}

class MapCtrlTest : public testing::Test {
protected:
    void SetUp() override
    {
        layer->Initialize(nullptr, nullptr, 792, 566);
        blank = layer->GetFreeNumber();
        layer->CreateSprite(blank, 792, 566);
        layer->DD7Fill(blank, {0, 0, 792, 566}, 0);
        const int32_t sheet = layer->GetFreeNumber();
        layer->LoadPicture(sheet, MarkedSheet(), true, 0x0000FF, 0x0000FF);
        bar.SetDX7(layer);
        bar.SetDX7Sprite(sheet, 221, 302);
    }
    void Clear() { layer->DD7BltFast(0, 0, blank, {0, 0, 792, 566}); }
    int RegionAt(int x, int y) const { return static_cast<int>(layer->BackSurface()->Pixel(x, y) >> 16 & 0xFF); }
    int DigitAt(int x) const { return RegionAt(x + 5, 70) == 0 ? -1 : RegionAt(x + 5, 70) - kDigit0; }

    std::shared_ptr<DX7Draw> layer = std::make_shared<DX7Draw>();
    int32_t blank = 0;
    MapCtrl bar;
};

TEST_F(MapCtrlTest, JudgePointerHitsReachOnePixelBeyondTheFace)
{
    EXPECT_EQ(bar.JudgePointer(780, 382), MapCtrl::BUTTON_HINT);
    EXPECT_EQ(bar.JudgePointer(670, 350), MapCtrl::BUTTON_HINT);
    EXPECT_EQ(bar.JudgePointer(700, 432), MapCtrl::BUTTON_PLAYBACK);
    EXPECT_EQ(bar.JudgePointer(700, 500), MapCtrl::BUTTON_OPTION);
    for (const auto& [x, y] : {std::pair{781, 360}, {700, 383}, {700, 399}, {669, 360}, {700, 533}})
        EXPECT_EQ(bar.JudgePointer(x, y), 0) << x << "," << y;
}

TEST_F(MapCtrlTest, CounterLeavesLeadingZerosOutWithoutShiftingThePlaces)
{
    const struct { int count, hundreds, tens, units; } cases[] = {{0, -1, -1, 0}, {7, -1, -1, 7}, {56, -1, 5, 6}, {100, 1, 0, 0}, {144, 1, 4, 4}};
    for (const auto& c : cases) {
        Clear();
        bar.BlitCounter(c.count);
        EXPECT_EQ(DigitAt(700), c.hundreds) << c.count;
        EXPECT_EQ(DigitAt(715), c.tens) << c.count;
        EXPECT_EQ(DigitAt(730), c.units) << c.count;
        EXPECT_EQ(RegionAt(713, 51), kCaption);
        EXPECT_EQ(RegionAt(750, 60), kUnit);
        EXPECT_EQ(RegionAt(742, 70), 0) << "nothing between the units digit and the unit glyph";
    }
}

TEST_F(MapCtrlTest, ButtonsTakeTheFaceOfTheirModeUnderTheirOwnLabels)
{
    bar.BlitButton(0, MapCtrl::MODE_NORMAL);
    for (int top : {350, 400, 500})
        EXPECT_EQ(RegionAt(720, top + 20), kFace0) << top;
    EXPECT_EQ(RegionAt(671, 501), kLabel1);
    EXPECT_EQ(RegionAt(671, 351), kLabel1 + 1);
    EXPECT_EQ(RegionAt(671, 401), kLabel1 + 2);

    bar.BlitButton(MapCtrl::BUTTON_HINT, MapCtrl::MODE_FOCUS);
    EXPECT_EQ(RegionAt(779, 381), kFace0 + MapCtrl::MODE_FOCUS);
    EXPECT_EQ(RegionAt(720, 420), kFace0);
    EXPECT_EQ(RegionAt(720, 520), kFace0);
}

TEST_F(MapCtrlTest, CursorHotSpotLiesOnThePosition)
{
    bar.BlitCursor(100, 200);
    EXPECT_EQ(RegionAt(93, 199), kCursor);
    EXPECT_EQ(RegionAt(112, 220), kCursor);
    EXPECT_EQ(RegionAt(92, 199), 0);
    EXPECT_EQ(RegionAt(113, 221), 0);
    Clear();
    bar.BlitCursor(0, 0);
    EXPECT_EQ(RegionAt(0, 0), 0) << "a glyph reaching outside the picture is not drawn";
}

} // namespace
