#include "BoardSprites.h"

#include "DX7Draw.h"
#include "PaiCtrl.h"
#include "PaiStructure.h"
#include "ScreenColours.h"

#include <QImage>

BoardSprites MakeBoardSprites(DX7Draw& dx7, const QImage& tileSheet, const QImage* buttonSheet)
{
    using namespace ScreenColours;
    BoardSprites sprites;
    sprites.sheetWidth = tileSheet.width();
    sprites.sheetHeight = tileSheet.height();
    const PixelRect sheetRect{0, 0, sprites.sheetWidth, sprites.sheetHeight};
    sprites.tiles = dx7.GetFreeNumber();
    dx7.LoadPicture(sprites.tiles, tileSheet, true, kTileKey, kTileKey);
    sprites.tilesOnWhite = dx7.GetFreeNumber();
    dx7.CreateSprite(sprites.tilesOnWhite, sprites.sheetWidth, sprites.sheetHeight, true, kWhite, kWhite);
    dx7.DD7Fill(sprites.tilesOnWhite, sheetRect, kWhite);
    dx7.DD7SpriteBltFast(sprites.tilesOnWhite, 0, 0, sprites.tiles, sheetRect);
    sprites.work = dx7.GetFreeNumber();
    dx7.CreateSprite(sprites.work, PaiStructure::kBoardWidth, PaiStructure::kBoardHeight);
    if (buttonSheet) {
        sprites.hud = dx7.GetFreeNumber();
        dx7.LoadPicture(sprites.hud, *buttonSheet, true, kButtonKey, kButtonKey);
    }
    sprites.wall = dx7.GetFreeNumber();
    dx7.CreateSprite(sprites.wall, PaiStructure::kBoardWidth, PaiStructure::kBoardHeight);
    return sprites;
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
