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

    static QImage Build();
    static QRect FaceRect(int face);
    static QRect FrameRect(int cell);
};
