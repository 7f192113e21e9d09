// The sheets drawn at other scales: drawn anew at their size rather than
// enlarged, every region in its scaled place, and no edge blended towards
// the key colour.

#include "ButtonSheet.h"
#include "TileSheet.h"

#include <gtest/gtest.h>

namespace {

// Pixels of the 2× picture that differ from the 1× picture's pixel they
// would be a copy of.
int64_t DifferFromDoubled(const QImage& once, const QImage& twice)
{
    int64_t differ = 0;
    for (int y = 0; y < twice.height(); ++y)
        for (int x = 0; x < twice.width(); ++x)
            differ += twice.pixel(x, y) != once.pixel(x / 2, y / 2);
    return differ;
}

// Colours between the key and the art: a pixel that is not the key but lies
// closer to it than any colour the art uses.
int64_t KeyFringe(const QImage& sheet, QRgb key)
{
    int64_t fringe = 0;
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x) {
            const QRgb pixel = sheet.pixel(x, y);
            if (pixel == key)
                continue;
            const int distance = std::abs(qRed(pixel) - qRed(key)) + std::abs(qGreen(pixel) - qGreen(key)) +
                                 std::abs(qBlue(pixel) - qBlue(key));
            fringe += distance < 90;
        }
    return fringe;
}

TEST(ArtScaleTest, TwiceTheSizeIsDrawnNotDoubled)
{
    const QImage once = TileSheet::Build();
    const QImage twice = TileSheet::Build(2.0);
    ASSERT_EQ(twice.size(), once.size() * 2);
    // Faces and frames alike carry detail that no enlarged pixel has.
    for (const QRect& region : {TileSheet::FaceRect(1), TileSheet::FaceRect(25), TileSheet::FrameRect(1)}) {
        const QImage small = once.copy(region);
        const QImage large = twice.copy(TileSheet::Scaled(region, 2.0));
        EXPECT_GT(DifferFromDoubled(small, large), large.width() * large.height() / 10) << region.x();
    }
    const QImage buttons = ButtonSheet::Build(ButtonSheet::Labels::Japanese, 2.0);
    EXPECT_GT(DifferFromDoubled(ButtonSheet::Build().copy(ButtonSheet::FaceRect(0)),
                                buttons.copy(TileSheet::Scaled(ButtonSheet::FaceRect(0), 2.0))),
              0);
}

TEST(ArtScaleTest, RegionsScaleByTheirEdgesAndKeyedEdgesStayClean)
{
    for (const double scale : {1.0, 1.5, 2.37, 3.2}) {
        SCOPED_TRACE(scale);
        const QImage tiles = TileSheet::Build(scale);
        const QImage buttons = ButtonSheet::Build(ButtonSheet::Labels::English, scale);
        EXPECT_EQ(tiles.size(), TileSheet::Scaled({0, 0, TileSheet::Width, TileSheet::Height}, scale).size());
        EXPECT_EQ(buttons.size(), TileSheet::Scaled({0, 0, ButtonSheet::Width, ButtonSheet::Height}, scale).size());
        // Neighbouring regions meet without a gap or an overlap.
        const QRect left = TileSheet::Scaled(TileSheet::FrameRect(2), scale);
        const QRect right = TileSheet::Scaled(TileSheet::FrameRect(3), scale);
        EXPECT_EQ(left.right() + 1, right.left());
        // Around each frame cell's tile is the key, never a blend with it.
        const QRect cell = TileSheet::Scaled(TileSheet::FrameRect(1), scale);
        EXPECT_EQ(tiles.pixel(cell.topRight()), TileSheet::Key);
        EXPECT_EQ(KeyFringe(tiles, TileSheet::Key), 0);
        EXPECT_EQ(KeyFringe(buttons, ButtonSheet::Key), 0);
    }
}

} // namespace
