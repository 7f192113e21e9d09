#pragma once

#include <cstdint>

class DX7Draw;
class PaiCtrl;
class QImage;

// The sprites a controller draws the board with.
struct BoardSprites {
    int32_t tiles = 0;
    int32_t tilesOnWhite = 0;
    int32_t work = 0;
    int32_t wall = 0;
    int32_t sheetWidth = 0;
    int32_t sheetHeight = 0;
};

// Makes the sprites in the program's order of creation: the tile sheet keyed
// on magenta, the same sheet laid over white and keyed on white, the 655 × 557
// work surface and the wallpaper (the main window makes its button-bar sheet
// between the last two).
BoardSprites MakeBoardSprites(DX7Draw& dx7, const QImage& tileSheet);
// Loads tileSheet into the sprite tiles, keyed on magenta, and lays it over
// white into tilesOnWhite, keyed on white (the faces' sheet). A number of 0
// is given a new sprite when its turn comes.
void LoadTileSheet(DX7Draw& dx7, int32_t& tiles, int32_t& tilesOnWhite, const QImage& tileSheet);
// Hands the board's sprites to ctrl.
void HandBoardSprites(PaiCtrl& ctrl, const BoardSprites& sprites);
// Both, for the programs that draw boards without the main window (the
// command-line tool, tests, benchmarks).
BoardSprites SetUpBoardSprites(DX7Draw& dx7, PaiCtrl& ctrl, const QImage& tileSheet);
