#include "GameScreen.h"

#include "BoardSprites.h"
#include "DX7Draw.h"
#include "MapCtrl.h"
#include "PaiCtrl.h"
#include "PictureBox.h"
#include "ScreenColours.h"

namespace {

constexpr int32_t kCaptionX = 665;
constexpr int32_t kCaptionY = 120;

PixelRect WholePicture(const QImage& picture)
{
    return {0, 0, picture.width(), picture.height()};
}

} // namespace

GameScreen::GameScreen(QWidget& window, PictureBox& picture, const std::array<QImage, 2>& sheets)
    : window(window), picture(picture), sheets(sheets)
{
}

GameScreen::~GameScreen() = default;

void GameScreen::Create(const QFont& font)
{
    dx7 = std::make_shared<DX7Draw>();
    dx7->Initialize(&window, &picture, kScreenWidth, kScreenHeight);
    picture.SetMarginColor(ScreenColours::kBackdrop);
    CreateSurfaces();
    dx7->DD7SetFont(font);
    CreateButtonBar();
}

void GameScreen::CreateSurfaces()
{
    const BoardSprites sprites = MakeBoardSprites(*dx7, sheets[0], &sheets[1]);
    surfaceSet = {sprites.tiles, sprites.tilesOnWhite, sprites.work, sprites.hud, sprites.wall, 0};
    sheetRects = {WholePicture(sheets[0]), WholePicture(sheets[1])};

    surfaceSet.Backdrop = dx7->GetFreeNumber();
    dx7->CreateSprite(surfaceSet.Backdrop, kScreenWidth, kScreenHeight);
    ScreenRect = {0, 0, kScreenWidth, kScreenHeight};
    dx7->DD7Fill(surfaceSet.Backdrop, ScreenRect, ScreenColours::kBackdrop);
}

void GameScreen::CreateButtonBar()
{
    mapCtrl = std::make_unique<MapCtrl>();
    mapCtrl->SetDX7(dx7);
    mapCtrl->SetDX7Sprite(surfaceSet.Hud, sheetRects.HudRect.Right, sheetRects.HudRect.Bottom);
}

void GameScreen::Connect(PaiCtrl& paiCtrl)
{
    controller = &paiCtrl;
    paiCtrl.SetDX7(dx7);
    HandBoardSprites(paiCtrl, {surfaceSet.Tiles, surfaceSet.TilesOnWhite, surfaceSet.Work, surfaceSet.Hud,
                               surfaceSet.Wall, sheetRects.TilesRect.Right, sheetRects.TilesRect.Bottom});
}

void GameScreen::Redraw(int32_t level, QPoint focus, const QString& caption)
{
    dx7->DD7BltFast(0, 0, surfaceSet.Backdrop, ScreenRect);
    if (level == REDRAW_FOCUS)
        controller->PaintFocus();
    else if (level == REDRAW_FULL)
        controller->PaintMap();
    controller->Blit(kBoardOrigin, kBoardOrigin);
    mapCtrl->BlitCounter(controller->GetPaiCount());
    // Away from the buttons the pointer names none, so all are drawn normal.
    mapCtrl->BlitButton(mapCtrl->JudgePointer(focus.x(), focus.y()), MapCtrl::MODE_FOCUS);
    mapCtrl->BlitCursor(focus.x(), focus.y());
    dx7->DD7DrawText(kCaptionX, kCaptionY, caption.toStdString());
    lastRedrawLevel = level;
    Flip();
}

void GameScreen::Flip()
{
    dx7->DD7Flip(&picture);
}

void GameScreen::PaintClearFrame(int32_t frame, QPoint focus, const QString& caption)
{
    controller->PaintClear(frame);
    Redraw(REDRAW_COMPOSE, focus, caption);
}
