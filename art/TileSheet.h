#pragma once

#include <QImage>
#include <QRect>

// The tile sheet: faces 0-53 in 37 x 51 cells, ten a row, over the tile-frame row
// of six 43 x 57 cells at the top 306. Magenta marks transparent pixels.
class TileSheet {
public:
    static constexpr int Width = 370;
    static constexpr int Height = 363;
    static constexpr int FrameTop = 306;
    static constexpr QRgb Key = 0xFFFF00FF;

    // The sheet drawn at scale: every region lies at its 1× edges times
    // scale, rounded, and is drawn to fill that place.
    static QImage Build(double scale = 1.0);
    static QRect FaceRect(int face);
    static QRect FrameRect(int cell);
    // A 1× region as it lies on the sheet drawn at scale.
    static QRect Scaled(const QRect& region, double scale);
};
