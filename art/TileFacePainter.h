#pragma once

#include <QImage>

// Draws the picture of one tile face on a pure white ground. The white shows the
// colour of the tile's frame cell when the game draws it, so the pictures use no
// pure white themselves, and no magenta (the tile sheet's key colour).
class TileFacePainter {
public:
    static constexpr int Width = 37;
    static constexpr int Height = 51;

    // face 0-53; the unused faces 9, 19, 29 and 49 stay blank. size is the
    // picture's size in pixels; the face is drawn to fill it.
    static QImage Paint(int face, QSize size = {Width, Height});
    static bool IsBlank(int face);
};
