#pragma once

#include "PaiStructure.h"
#include "PixelRect.h"

#include <QImage>
#include <QPoint>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>

class DX7Draw;
class MapCtrl;
class PaiCtrl;
class PictureBox;
class QFont;
class QWidget;

// The main window's screen: the layer and its surfaces, the button bar that
// draws from them, and the composition of each picture (board, counter,
// buttons, cursor and caption) at one of three redraw levels.
class GameScreen {
public:
    static constexpr int32_t REDRAW_COMPOSE = 0;
    static constexpr int32_t REDRAW_FOCUS = 1;
    static constexpr int32_t REDRAW_FULL = 2;

    static constexpr int32_t kScreenWidth = 792;
    static constexpr int32_t kScreenHeight = 566;
    static constexpr int32_t kBoardWidth = PaiStructure::kBoardWidth;
    static constexpr int32_t kBoardHeight = PaiStructure::kBoardHeight;
    static constexpr int32_t kBoardOrigin = 4;
    static constexpr int32_t kBoardRightmostX = 659;

    // The sprite numbers of the main window's surfaces, in order of creation
    // (the board's sprites and the button bar's sheet first, see BoardSprites).
    struct SurfaceNumbers {
        int32_t Tiles = 0;
        int32_t TilesOnWhite = 0;
        int32_t Work = 0;
        int32_t Hud = 0;
        int32_t Wall = 0;
        int32_t Backdrop = 0;
    };
    struct SheetRectangles {
        PixelRect TilesRect;
        PixelRect HudRect;
    };

    // sheets are the tile sheet and the button-bar sheet; picture is where
    // the screen is shown, inside window.
    GameScreen(QWidget& window, PictureBox& picture, const std::array<QImage, 2>& sheets);
    ~GameScreen();
    GameScreen(const GameScreen&) = delete;
    GameScreen& operator=(const GameScreen&) = delete;

    // Builds the layer, its surfaces and the button bar; text in font.
    void Create(const QFont& font);
    // Gives the controller the surfaces it draws the board on.
    void Connect(PaiCtrl& controller);

    void Redraw(int32_t level, QPoint focus, const QString& caption);
    void Flip();
    // One frame of the clear animation; ClearAnimation paces them.
    void PaintClearFrame(int32_t frame, QPoint focus, const QString& caption);

    DX7Draw& Layer() const { return *dx7; }
    MapCtrl& ButtonBar() const { return *mapCtrl; }
    const SurfaceNumbers& SurfaceSet() const { return surfaceSet; }
    const SheetRectangles& SheetRects() const { return sheetRects; }
    // The level of the last composed picture; -1 before the first.
    int32_t LastRedrawLevel() const { return lastRedrawLevel; }

private:
    void CreateSurfaces();
    void CreateButtonBar();

    QWidget& window;
    PictureBox& picture;
    const std::array<QImage, 2>& sheets;
    std::shared_ptr<DX7Draw> dx7;
    std::unique_ptr<MapCtrl> mapCtrl;
    PaiCtrl* controller = nullptr;
    SurfaceNumbers surfaceSet;
    SheetRectangles sheetRects;
    PixelRect ScreenRect;
    int32_t lastRedrawLevel = -1;
};
