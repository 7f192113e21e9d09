#include "TileFacePainter.h"
#include "TileFramePainter.h"
#include "TileGallery.h"
#include "TileSheet.h"
#include "SheetTestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr QRgb Magenta = 0xFF00FF;
constexpr QRgb White = 0xFFFFFF;

class TileSheetTest : public testing::Test {
protected:
    const QImage sheet = Committed("data/tiles.png");
};

} // namespace

TEST_F(TileSheetTest, CommittedSheetIsWhatTheGeneratorDraws)
{
    ASSERT_EQ(sheet.size(), QSize(370, 363));
    EXPECT_EQ(sheet, TileSheet::Build()) << "data/tiles.png is out of date: rebuild it with the art target";
    EXPECT_EQ(QImage(":/sheets/tiles.png").convertToFormat(QImage::Format_RGB32), sheet);
}

TEST_F(TileSheetTest, UsedFacesAreDistinctPicturesInsideAWhiteMarginAndUnusedOnesAreBlank)
{
    std::set<QByteArray> pictures;
    for (int face = 0; face < 60; ++face) {
        SCOPED_TRACE(face);
        const QRect cell = TileSheet::FaceRect(face);
        EXPECT_EQ(CountColour(sheet, cell, Magenta), 0);
        // the outermost two pixels on every side stay ground, so the frame's
        // border line shows and no picture runs into a neighbouring tile
        const QRect inner = cell.adjusted(2, 2, -2, -2);
        const int border = Area(cell) - Area(inner);
        EXPECT_EQ(CountColour(sheet, cell, White) - CountColour(sheet, inner, White), border);
        if (face >= 54)
            continue;
        const int ink = Area(cell) - CountColour(sheet, cell, White);
        const bool unused = face == 9 || face == 19 || face == 29 || face == 49;
        EXPECT_EQ(TileFacePainter::IsBlank(face), unused);
        if (unused)
            EXPECT_EQ(ink, 0);
        else
            EXPECT_GT(ink, 60);
        EXPECT_TRUE(unused || pictures.insert(Pixels(sheet.copy(cell))).second) << "two faces look the same";
    }
}

TEST_F(TileSheetTest, FrameRowHoldsSixTilesOnMagenta)
{
    // beyond the six cells and around each tile's outline the sheet is transparent
    EXPECT_EQ(CountColour(sheet, QRect(258, 306, 112, 57), Magenta), 112 * 57);
    std::set<QRgb> faceColours;
    for (int cell = 0; cell < 6; ++cell) {
        SCOPED_TRACE(cell);
        const QRect r = TileSheet::FrameRect(cell);
        EXPECT_EQ(r, QRect(43 * cell, 306, 43, 57));
        EXPECT_EQ(At(sheet, r.right(), r.top()), Magenta);       // above the right edge
        EXPECT_EQ(At(sheet, r.left(), r.bottom()), Magenta);     // left of the bottom edge
        EXPECT_NE(At(sheet, r.left() + 40, r.top() + 30), Magenta);  // the tile's right side
        EXPECT_NE(At(sheet, r.left() + 20, r.top() + 54), Magenta);  // the tile's lower side
        // the face area is solid apart from its rounded corners
        const QRect face(r.topLeft(), QSize(37, 51));
        EXPECT_LE(CountColour(sheet, face, Magenta), 4 * 4);
        faceColours.insert(At(sheet, face.center().x(), face.center().y()));
    }
    EXPECT_EQ(faceColours.size(), 6u);
}

TEST_F(TileSheetTest, FrameColoursReadAsTheirDisplayModes)
{
    const auto centre = [this](int cell) {
        return QColor(sheet.pixel(TileSheet::FrameRect(cell).topLeft() + QPoint(18, 25)));
    };
    const QColor back = centre(0), normal = centre(1), focus = centre(2), selected = centre(3),
                 hint = centre(4), playback = centre(5);
    EXPECT_GT(back.red(), back.blue() + 80);          // orange
    EXPECT_GT(normal.lightness(), 235);               // white
    EXPECT_GT(focus.red(), focus.blue() + 30);        // pale orange
    EXPECT_GT(selected.red(), selected.green() + 20); // pink
    EXPECT_GT(hint.blue(), hint.red() + 30);          // light blue
    EXPECT_GT(playback.blue(), playback.green() + 20); // violet
    EXPECT_GT(playback.red(), playback.green());
}

TEST_F(TileSheetTest, GalleryIsTheSheetsTilesAtTwiceTheSize)
{
    const QImage gallery = Committed("docs/tiles.png");
    EXPECT_EQ(gallery, TileGallery::Build(sheet)) << "docs/tiles.png is out of date";
    // nothing of the key colours survives the keyed copies
    EXPECT_EQ(CountColour(gallery, gallery.rect(), Magenta), 0);
    // every pixel is doubled
    for (int y = 0; y < gallery.height(); y += 2)
        for (int x = 0; x < gallery.width(); x += 2)
            ASSERT_EQ(gallery.pixel(x, y), gallery.pixel(x + 1, y + 1));
}
