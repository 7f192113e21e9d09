#pragma once

#include <QDialog>
#include <QImage>
#include <QString>

#include <cstdint>
#include <vector>

// How to play, in a small window: free and blocked tiles (pictured with the
// game's own tiles), sets, face-down modes, hints, the end-of-game notices
// and the table of keys.
class HelpWindow : public QDialog {
    Q_OBJECT

public:
    struct KeyRow {
        QString keys;
        QString action;
    };

    // tileSheet: the tile sheet, magenta transparent.
    HelpWindow(const QImage& tileSheet, const std::vector<KeyRow>& keys, QWidget* owner = nullptr);

    // A row of tiles as the board draws them; each entry is a face (-1 face
    // down) and a frame cell (the board's display mode).
    struct TileDrawing {
        int32_t face = 0;
        int32_t frame = 1;
        int32_t x = 0;
        int32_t y = 0;
    };
    static QImage DrawTiles(const QImage& tileSheet, const std::vector<TileDrawing>& tiles);
};
