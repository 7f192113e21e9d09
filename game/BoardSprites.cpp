#include "BoardSprites.h"

#include "DX7Draw.h"
#include "PaiCtrl.h"

#include <QImage>

namespace {

constexpr int32_t kBoardWidth = 655;
constexpr int32_t kBoardHeight = 557;
constexpr uint32_t kMagenta = 0xFF00FF;
constexpr uint32_t kWhite = 0xFFFFFF;

} // namespace

BoardSprites SetUpBoardSprites(DX7Draw& dx7, PaiCtrl& ctrl, const QImage& tileSheet)
{
    const PixelRect sheetRect{0, 0, tileSheet.width(), tileSheet.height()};
    const int32_t tiles = dx7.GetFreeNumber();
    dx7.LoadPicture(tiles, tileSheet, true, kMagenta, kMagenta);
    const int32_t tilesOnWhite = dx7.GetFreeNumber();
    dx7.CreateSprite(tilesOnWhite, tileSheet.width(), tileSheet.height(), true, kWhite, kWhite);
    dx7.DD7Fill(tilesOnWhite, sheetRect, kWhite);
    dx7.DD7SpriteBltFast(tilesOnWhite, 0, 0, tiles, sheetRect);
    const int32_t work = dx7.GetFreeNumber();
    dx7.CreateSprite(work, kBoardWidth, kBoardHeight);
    const int32_t wall = dx7.GetFreeNumber();
    dx7.CreateSprite(wall, kBoardWidth, kBoardHeight);

    ctrl.SetDX7Work(work, kBoardWidth, kBoardHeight);
    ctrl.SetDX7Sprite(tiles, tilesOnWhite, tileSheet.width(), tileSheet.height());
    ctrl.SetDX7Wall(wall);
    return {tiles, tilesOnWhite, work, wall};
}
