#include "DX7Draw.h"
#include "MapCtrl.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// A button-bar sheet whose regions each carry a colour of their own over the
// transparent red, so that every drawn pixel tells where it came from.
QRgb Mark(int region)
{
    return qRgb(region, 200, 100);
}

constexpr int kCursor = 1;
constexpr int kDigit0 = 10;
constexpr int kCaption = 30;
constexpr int kUnit = 31;
constexpr int kFace0 = 40;
constexpr int kLabel1 = 50;

QImage MarkedSheet()
{
    QImage sheet(221, 302, QImage::Format_RGB32);
    sheet.fill(qRgb(255, 0, 0));
    QPainter painter(&sheet);
    painter.fillRect(0, 0, 20, 22, Mark(kCursor));
    for (int d = 0; d < 10; ++d)
        painter.fillRect(21 + 12 * d, 0, 12, 22, Mark(kDigit0 + d));
    painter.fillRect(142, 0, 44, 22, Mark(kCaption));
    painter.fillRect(186, 0, 22, 22, Mark(kUnit));
    for (int m = 0; m < 3; ++m)
        painter.fillRect(0, 45 + 32 * m, 110, 32, Mark(kFace0 + m));
    // Labels cover only their top-left corner, so the face shows beside them.
    for (int i = 1; i <= 3; ++i)
        painter.fillRect(110, 45 + 32 * (i - 1), 10, 10, Mark(kLabel1 + i - 1));
    return sheet;
}

class MapCtrlTest : public testing::Test {
protected:
    void SetUp() override
    {
        layer->Initialize(nullptr, nullptr, 792, 566);
        background = layer->GetFreeNumber();
        layer->CreateSprite(background, 792, 566);
        layer->DD7Fill(background, {0, 0, 792, 566}, 0);
        const int32_t sheet = layer->GetFreeNumber();
        layer->LoadPicture(sheet, MarkedSheet(), true, 0x0000FF, 0x0000FF);
        bar.SetDX7(layer);
        bar.SetDX7Sprite(sheet, 221, 302);
    }

    void Clear() { layer->DD7BltFast(0, 0, background, {0, 0, 792, 566}); }
    int RegionAt(int x, int y) const
    {
        const uint32_t pixel = layer->BackSurface()->Pixel(x, y) & 0xFFFFFF;
        return pixel == 0 ? 0 : static_cast<int>(pixel >> 16);
    }
    // The digit drawn in the counter place at x, or -1 for none.
    int DigitAt(int x) const
    {
        const int region = RegionAt(x + 5, 70);
        return region == 0 ? -1 : region - kDigit0;
    }

    std::shared_ptr<DX7Draw> layer = std::make_shared<DX7Draw>();
    int32_t background = 0;
    MapCtrl bar;
};

TEST_F(MapCtrlTest, JudgePointerHitsIncludeOnePixelBeyondTheFace)
{
    EXPECT_EQ(bar.JudgePointer(780, 382), MapCtrl::BUTTON_HINT);
    EXPECT_EQ(bar.JudgePointer(670, 350), MapCtrl::BUTTON_HINT);
    EXPECT_EQ(bar.JudgePointer(700, 400), MapCtrl::BUTTON_PLAYBACK);
    EXPECT_EQ(bar.JudgePointer(700, 432), MapCtrl::BUTTON_PLAYBACK);
    EXPECT_EQ(bar.JudgePointer(700, 500), MapCtrl::BUTTON_OPTION);
    EXPECT_EQ(bar.JudgePointer(780, 532), MapCtrl::BUTTON_OPTION);
    EXPECT_EQ(bar.JudgePointer(781, 360), 0);
    EXPECT_EQ(bar.JudgePointer(700, 383), 0);
    EXPECT_EQ(bar.JudgePointer(700, 399), 0);
    EXPECT_EQ(bar.JudgePointer(669, 360), 0);
    EXPECT_EQ(bar.JudgePointer(700, 533), 0);
}

TEST_F(MapCtrlTest, CounterLeavesLeadingZerosOutWithoutShiftingThePlaces)
{
    const struct {
        int count;
        int hundreds, tens, units;
    } cases[] = {{0, -1, -1, 0}, {7, -1, -1, 7}, {56, -1, 5, 6}, {100, 1, 0, 0}, {144, 1, 4, 4}, {999, 9, 9, 9}};
    for (const auto& c : cases) {
        Clear();
        bar.BlitCounter(c.count);
        EXPECT_EQ(DigitAt(700), c.hundreds) << c.count;
        EXPECT_EQ(DigitAt(715), c.tens) << c.count;
        EXPECT_EQ(DigitAt(730), c.units) << c.count;
        EXPECT_EQ(RegionAt(670, 30), kCaption);
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
    EXPECT_EQ(RegionAt(780, 381), 0) << "the face ends one pixel before the hit area";

    bar.BlitButton(MapCtrl::BUTTON_OPTION, MapCtrl::MODE_CLICK);
    EXPECT_EQ(RegionAt(720, 520), kFace0 + MapCtrl::MODE_CLICK);
    EXPECT_EQ(RegionAt(720, 370), kFace0);
}

TEST_F(MapCtrlTest, CursorHotSpotLiesOnThePosition)
{
    bar.BlitCursor(100, 200);
    EXPECT_EQ(RegionAt(93, 199), kCursor);
    EXPECT_EQ(RegionAt(112, 220), kCursor);
    EXPECT_EQ(RegionAt(92, 199), 0);
    EXPECT_EQ(RegionAt(93, 198), 0);
    EXPECT_EQ(RegionAt(113, 221), 0);

    Clear();
    bar.BlitCursor(0, 0);
    EXPECT_EQ(RegionAt(0, 0), 0) << "a glyph reaching outside the picture is not drawn";
}

} // namespace
