#include "ButtonSheet.h"
#include "SheetTestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr QRgb Red = 0xFF0000;  // the key colour

bool IsKey(const QImage& image, int x, int y) { return At(image, x, y) == Red; }

int Visible(const QImage& image, const QRect& rect) { return Area(rect) - CountColour(image, rect, Red); }

std::vector<QRect> LabelRects()
{
    std::vector<QRect> labels;
    for (int button = 1; button <= 3; ++button)
        labels.push_back(ButtonSheet::BarLabelRect(button));
    for (int item = 0; item < 8; ++item)
        labels.push_back(ButtonSheet::PanelLabelRect(item));
    return labels;
}

void ExpectReadableLabels(const QImage& sheet)
{
    for (const QRect& label : LabelRects()) {
        SCOPED_TRACE(label.x() * 1000 + label.y());
        const int visible = Visible(sheet, label);
        EXPECT_GT(visible, 60);
        EXPECT_LT(visible, Area(label) / 3);
        // the label's text stays clear of the face's rounded border
        EXPECT_EQ(Visible(sheet, QRect(label.x(), label.y(), 110, 3)), 0);
        EXPECT_EQ(Visible(sheet, QRect(label.x(), label.y() + 29, 110, 3)), 0);
    }
}

class ButtonSheetTest : public testing::Test {
protected:
    const QImage sheet = Committed("data/buttons.png");
};

} // namespace

TEST_F(ButtonSheetTest, CommittedSheetIsWhatTheGeneratorDraws)
{
    ASSERT_EQ(sheet.size(), QSize(221, 302));
    EXPECT_EQ(sheet, ButtonSheet::Build()) << "data/buttons.png is out of date: rebuild it with the art target";
    EXPECT_EQ(QImage(":/sheets/buttons.png").convertToFormat(QImage::Format_RGB32), sheet);
}

TEST_F(ButtonSheetTest, RegionsSitWhereTheGameReadsThem)
{
    EXPECT_EQ(ButtonSheet::CursorRect(), QRect(0, 0, 20, 22));
    EXPECT_EQ(ButtonSheet::DigitRect(9), QRect(129, 0, 12, 22));
    EXPECT_EQ(ButtonSheet::CaptionRect(), QRect(142, 0, 44, 22));
    EXPECT_EQ(ButtonSheet::UnitRect(), QRect(186, 0, 22, 22));
    EXPECT_EQ(ButtonSheet::FaceRect(2), QRect(0, 109, 110, 32));
    EXPECT_EQ(ButtonSheet::BarLabelRect(3), QRect(110, 109, 110, 32));
    EXPECT_EQ(ButtonSheet::PanelLabelRect(0), QRect(110, 141, 110, 32));
    EXPECT_EQ(ButtonSheet::PanelLabelRect(5), QRect(110, 269, 110, 32));
    EXPECT_EQ(ButtonSheet::PanelLabelRect(6), QRect(110, 237, 110, 32));
    EXPECT_EQ(ButtonSheet::PanelLabelRect(7), QRect(0, 269, 110, 32));
    EXPECT_EQ(ButtonSheet::IndicatorRect(false), QRect(55, 237, 55, 32));
}

TEST_F(ButtonSheetTest, CursorDigitsCaptionAndUnitAreDistinctGlyphs)
{
    EXPECT_FALSE(IsKey(sheet, 7, 1)) << "the cursor's hot spot is on the glyph";
    EXPECT_TRUE(IsKey(sheet, 0, 0));
    EXPECT_GT(Visible(sheet, ButtonSheet::CursorRect()), 80);
    // nothing of the glyph lies above or left of the hot spot's row and column by more than the outline
    EXPECT_EQ(Visible(sheet, QRect(0, 0, 20, 1)), Visible(sheet, QRect(5, 0, 5, 1)));
    std::set<QByteArray> glyphs;
    for (int digit = 0; digit < 10; ++digit) {
        const QRect rect = ButtonSheet::DigitRect(digit);
        EXPECT_GT(Visible(sheet, rect), 20) << digit;
        EXPECT_LT(Visible(sheet, rect), Area(rect)) << digit;
        glyphs.insert(Pixels(sheet.copy(rect)));
    }
    EXPECT_EQ(glyphs.size(), 10u);
    EXPECT_GT(Visible(sheet, ButtonSheet::CaptionRect()), 60);
    EXPECT_GT(Visible(sheet, ButtonSheet::UnitRect()), 40);
}

TEST_F(ButtonSheetTest, ButtonFacesAreSolidAndLabelsLeaveTheFaceShowing)
{
    for (int mode = 0; mode < 3; ++mode) {
        const QRect face = ButtonSheet::FaceRect(mode);
        EXPECT_EQ(Visible(sheet, face.adjusted(4, 4, -4, -4)), Area(face.adjusted(4, 4, -4, -4))) << mode;
    }
    EXPECT_NE(sheet.copy(ButtonSheet::FaceRect(0)), sheet.copy(ButtonSheet::FaceRect(1)));
    EXPECT_NE(sheet.copy(ButtonSheet::FaceRect(1)), sheet.copy(ButtonSheet::FaceRect(2)));
    ExpectReadableLabels(sheet);
}

TEST_F(ButtonSheetTest, EnglishSheetKeepsEveryRegionAndChangesOnlyTheWords)
{
    const QImage english = Committed("data/buttons-en.png");
    ASSERT_EQ(english.size(), sheet.size());
    EXPECT_EQ(english, ButtonSheet::Build(ButtonSheet::Labels::English))
        << "data/buttons-en.png is out of date: rebuild it with the art target";
    EXPECT_EQ(QImage(":/sheets/buttons-en.png").convertToFormat(QImage::Format_RGB32), english);
    std::vector<QRect> shared = {ButtonSheet::CursorRect(), ButtonSheet::IndicatorRect(true),
                                 ButtonSheet::IndicatorRect(false)};
    for (int digit = 0; digit < 10; ++digit)
        shared.push_back(ButtonSheet::DigitRect(digit));
    for (int mode = 0; mode < 3; ++mode)
        shared.push_back(ButtonSheet::FaceRect(mode));
    for (const QRect& rect : shared)
        EXPECT_EQ(english.copy(rect), sheet.copy(rect)) << rect.x() << "," << rect.y();
    ExpectReadableLabels(english);
    for (const QRect& label : LabelRects())
        EXPECT_NE(english.copy(label), sheet.copy(label)) << label.x() << "," << label.y();
    // "Tiles left" stands before the figures; the unit cell after them stays empty
    EXPECT_GT(Visible(english, ButtonSheet::CaptionRect()), 60);
    EXPECT_NE(english.copy(ButtonSheet::CaptionRect()), sheet.copy(ButtonSheet::CaptionRect()));
    EXPECT_EQ(Visible(english, ButtonSheet::UnitRect()), 0);
}

TEST_F(ButtonSheetTest, IndicatorsAndUnreadPartsLeaveTheButtonsAroundThemShowing)
{
    // drawn at the switch's button position + (45, 30): their first two and last
    // two rows overlap the buttons above and below, so those rows stay transparent
    for (bool on : {true, false}) {
        const QRect rect = ButtonSheet::IndicatorRect(on);
        EXPECT_EQ(Visible(sheet, QRect(rect.x(), rect.y(), 55, 2)), 0);
        EXPECT_EQ(Visible(sheet, QRect(rect.x(), rect.y() + 30, 55, 2)), 0);
        EXPECT_GT(Visible(sheet, rect), 200);
    }
    EXPECT_NE(sheet.copy(ButtonSheet::IndicatorRect(true)), sheet.copy(ButtonSheet::IndicatorRect(false)));
    // the band under the counter glyphs, the unused label cell and the sheet's right and lower edges
    for (const QRect& unread : {QRect(0, 22, 221, 23), QRect(0, 141, 110, 32), QRect(220, 0, 1, 302),
                                QRect(0, 301, 221, 1), QRect(208, 0, 13, 45)})
        EXPECT_EQ(Visible(sheet, unread), 0) << unread.x() << "," << unread.y();
}
