#pragma once

#include <QImage>

// The picture for the documentation: every face on a normal tile, then one tile
// of each frame cell, put together from the tile sheet with the same keyed copies
// the game makes, and shown at twice the size.
class TileGallery {
public:
    static QImage Build(const QImage& tileSheet);
};
