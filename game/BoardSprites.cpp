#include "BoardSprites.h"

#include "DX7Draw.h"
#include "PaiCtrl.h"
#include "PaiStructure.h"
#include "ScreenColours.h"

#include <QImage>

BoardSprites MakeBoardSprites(DX7Draw& dx7, const QImage& tileSheet)
{
    BoardSprites sprites;
    sprites.sheetWidth = tileSheet.width();
    sprites.sheetHeight = tileSheet.height();
    LoadTileSheet(dx7, sprites.tiles, sprites.tilesOnWhite, tileSheet);
    sprites.work = dx7.GetFreeNumber();
    dx7.CreateSprite(sprites.work, PaiStructure::kBoardWidth, PaiStructure::kBoardHeight);
    sprites.wall = dx7.GetFreeNumber();
    dx7.CreateSprite(sprites.wall, PaiStructure::kBoardWidth, PaiStructure::kBoardHeight);
    return sprites;
}

void LoadTileSheet(DX7Draw& dx7, int32_t& tiles, int32_t& tilesOnWhite, const QImage& tileSheet)
{
    using namespace ScreenColours;
    const PixelRect sheetRect{0, 0, tileSheet.width(), tileSheet.height()};
    if (tiles == 0)
        tiles = dx7.GetFreeNumber();
    dx7.LoadPicture(tiles, tileSheet, true, kTileKey, kTileKey);
    if (tilesOnWhite == 0)
        tilesOnWhite = dx7.GetFreeNumber();
    dx7.CreateSprite(tilesOnWhite, tileSheet.width(), tileSheet.height(), true, kWhite, kWhite);
    dx7.DD7Fill(tilesOnWhite, sheetRect, kWhite);
    dx7.DD7SpriteBltFast(tilesOnWhite, 0, 0, tiles, sheetRect);
}

void HandBoardSprites(PaiCtrl& ctrl, const BoardSprites& sprites)
{
    ctrl.SetDX7Work(sprites.work, PaiStructure::kBoardWidth, PaiStructure::kBoardHeight);
    ctrl.SetDX7Sprite(sprites.tiles, sprites.tilesOnWhite, sprites.sheetWidth, sprites.sheetHeight);
    ctrl.SetDX7Wall(sprites.wall);
}

BoardSprites SetUpBoardSprites(DX7Draw& dx7, PaiCtrl& ctrl, const QImage& tileSheet)
{
    const BoardSprites sprites = MakeBoardSprites(dx7, tileSheet);
    HandBoardSprites(ctrl, sprites);
    return sprites;
}
