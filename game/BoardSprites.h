#pragma once

#include <cstdint>

class DX7Draw;
class PaiCtrl;
class QImage;

// Makes the sprites a controller draws the board with, as the program makes
// them at start-up — the tile sheet keyed on magenta, the same sheet laid over
// white and keyed on white, the 655 × 557 work surface and wallpaper — and
// hands them to ctrl. For the programs that draw boards without the main
// window (the command-line tool, tests, benchmarks).
struct BoardSprites {
    int32_t tiles;
    int32_t tilesOnWhite;
    int32_t work;
    int32_t wall;
};

BoardSprites SetUpBoardSprites(DX7Draw& dx7, PaiCtrl& ctrl, const QImage& tileSheet);
