#include "GameScreen.h"

#include "DX7Draw.h"
#include "MapCtrl.h"
#include "PaiCtrl.h"
#include "PictureBox.h"

#include <chrono>
#include <thread>

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kMagenta = 0xFF00FF;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBackdropColour = 0xFF9933;
constexpr int32_t kCaptionX = 665;
constexpr int32_t kCaptionY = 120;
constexpr auto kFrameInterval = std::chrono::microseconds(1'000'000 / 60);

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
    picture.SetMarginColor(kBackdropColour);
    CreateSurfaces();
    dx7->DD7SetFont(font);
    CreateButtonBar();
}

void GameScreen::CreateSurfaces()
{
    const QImage& tiles = sheets[0];
    const QImage& hud = sheets[1];
    surfaceSet.Tiles = dx7->GetFreeNumber();
    dx7->LoadPicture(surfaceSet.Tiles, tiles, true, kMagenta, kMagenta);
    sheetRects.TilesRect = WholePicture(tiles);

    surfaceSet.TilesOnWhite = dx7->GetFreeNumber();
    dx7->CreateSprite(surfaceSet.TilesOnWhite, sheetRects.TilesRect.Right, sheetRects.TilesRect.Bottom, true, kWhite,
                      kWhite);
    dx7->DD7Fill(surfaceSet.TilesOnWhite, sheetRects.TilesRect, kWhite);
    dx7->DD7SpriteBltFast(surfaceSet.TilesOnWhite, 0, 0, surfaceSet.Tiles, sheetRects.TilesRect);

    surfaceSet.Work = dx7->GetFreeNumber();
    dx7->CreateSprite(surfaceSet.Work, kBoardWidth, kBoardHeight);

    surfaceSet.Hud = dx7->GetFreeNumber();
    sheetRects.HudRect = WholePicture(hud);
    dx7->LoadPicture(surfaceSet.Hud, hud, true, kRed, kRed);

    surfaceSet.Wall = dx7->GetFreeNumber();
    dx7->CreateSprite(surfaceSet.Wall, kBoardWidth, kBoardHeight);

    surfaceSet.Backdrop = dx7->GetFreeNumber();
    dx7->CreateSprite(surfaceSet.Backdrop, kScreenWidth, kScreenHeight);
    ScreenRect = {0, 0, kScreenWidth, kScreenHeight};
    dx7->DD7Fill(surfaceSet.Backdrop, ScreenRect, kBackdropColour);
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
    paiCtrl.SetDX7Work(surfaceSet.Work, kBoardWidth, kBoardHeight);
    paiCtrl.SetDX7Sprite(surfaceSet.Tiles, surfaceSet.TilesOnWhite, sheetRects.TilesRect.Right,
                         sheetRects.TilesRect.Bottom);
    paiCtrl.SetDX7Wall(surfaceSet.Wall);
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

void GameScreen::PaintClearFrames(int32_t first, int32_t last, QPoint focus, const QString& caption)
{
    auto deadline = std::chrono::steady_clock::now();
    for (int32_t times = first; times <= last; ++times) {
        controller->PaintClear(times);
        Redraw(REDRAW_COMPOSE, focus, caption);
        deadline += kFrameInterval;
        std::this_thread::sleep_until(deadline);
    }
}
