#pragma once

#include <QImage>

// Draws one cell of the tile-frame row: a tile seen from above, its 37 x 51 face
// area at the top left in the cell's colour and its thickness as a six-pixel edge
// at the right and bottom. Everything around the tile is transparent.
class TileFramePainter {
public:
    static constexpr int Width = 43;
    static constexpr int Height = 57;
    static constexpr int CellCount = 6;

    // cell 0 back, 1 normal, 2 focus, 3 selected, 4 hint, 5 played back
    // size is the cell's size in pixels; the tile is drawn to fill it.
    static QImage Paint(int cell, QSize size = {Width, Height});
};
