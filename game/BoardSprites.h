#pragma once

#include <cstdint>

class DX7Draw;
class PaiCtrl;
class QImage;

// The sprites a controller draws the board with, and the button-bar sheet
// when the main window makes them (hud is 0 otherwise).
struct BoardSprites {
    int32_t tiles = 0;
    int32_t tilesOnWhite = 0;
    int32_t work = 0;
    int32_t hud = 0;
    int32_t wall = 0;
    int32_t sheetWidth = 0;
    int32_t sheetHeight = 0;
};

// Makes the sprites in the program's order of creation: the tile sheet keyed
// on magenta, the same sheet laid over white and keyed on white, the 655 × 557
// work surface, the button-bar sheet keyed on red when one is given, and the
// wallpaper.
BoardSprites MakeBoardSprites(DX7Draw& dx7, const QImage& tileSheet, const QImage* buttonSheet = nullptr);
// Hands the board's sprites to ctrl.
void HandBoardSprites(PaiCtrl& ctrl, const BoardSprites& sprites);
// Both, for the programs that draw boards without the main window (the
// command-line tool, tests, benchmarks).
BoardSprites SetUpBoardSprites(DX7Draw& dx7, PaiCtrl& ctrl, const QImage& tileSheet);
