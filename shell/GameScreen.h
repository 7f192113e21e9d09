#pragma once

#include "PaiStructure.h"
#include "PixelRect.h"
#include "ScreenLayout.h"
#include "StatusFigures.h"

#include <QFont>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class DX7Draw;
class MapCtrl;
class PaiCtrl;
class PictureBox;
class Settings;
class QWidget;

// The main window's screen: the layer and its surfaces, the button bar that
// draws from them, and the composition of each picture (board, counter,
// buttons, cursor and caption) at one of three redraw levels. At the design's
// size it is the design's picture; larger windows are laid out by a
// ScreenLayout and drawn sharp at their size, unless whole-number pixel
// scaling is chosen.
class GameScreen : public QObject {
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
    // How long the window's size must stay put before the art is drawn for it.
    static constexpr int kSettleMs = 150;

    // The sprite numbers of the main window's surfaces, in order of creation.
    struct SurfaceNumbers {
        int32_t Tiles = 0;
        int32_t TilesOnWhite = 0;
        int32_t Work = 0;
        int32_t Hud = 0;
        int32_t Wall = 0;
        int32_t Backdrop = 0;
        // The clear animation's frames when its scale is not the tiles'.
        int32_t ClearTiles = 0;
    };
    struct SheetRectangles {
        PixelRect TilesRect;
        PixelRect HudRect;
    };

    // Whether larger windows are drawn sharp: the command line's choice,
    // remembered for later runs, else the one remembered; sharp by default.
    static bool SharpScaling(const std::optional<QString>& requested, Settings& settings);

    // sheets are the tile sheet and the button-bar sheet; picture is where
    // the screen is shown, inside window.
    GameScreen(QWidget& window, PictureBox& picture, const std::array<QImage, 2>& sheets);
    ~GameScreen() override;
    GameScreen(const GameScreen&) = delete;
    GameScreen& operator=(const GameScreen&) = delete;

    // Builds the layer, its surfaces and the button bar; text in font.
    void Create(const QFont& font, bool sharp);
    // Gives the controller the surfaces it draws the board on.
    void Connect(PaiCtrl& controller);

    void Redraw(int32_t level, QPoint focus, const QString& caption);
    void Flip();
    // One frame of the clear animation; ClearAnimation paces them.
    void PaintClearFrame(int32_t frame, QPoint focus, const QString& caption);
    // Lays the screen out for the picture window's present size, draws the
    // art for it now rather than when the size has settled, and redraws.
    void FitToWindow();

    // The side bar shows the status that figures gives, none while it gives
    // none; a null figures hides it, and the caption is then shown whole.
    void ShowStatus(std::function<std::optional<StatusFigures>()> figures);
    // The status last drawn; none when it was not drawn.
    const std::optional<StatusFigures>& ShownStatus() const { return shownStatus; }
    // The board hides behind the wallpaper with a notice while paused.
    void SetPaused(bool on) { paused = on; }
    bool Paused() const { return paused; }

    // The whole-number scale the side panel opens at over the window.
    int32_t MenuScale() const;

    DX7Draw& Layer() const { return *dx7; }
    MapCtrl& ButtonBar() const { return *mapCtrl; }
    const SurfaceNumbers& SurfaceSet() const { return surfaceSet; }
    const SheetRectangles& SheetRects() const { return sheetRects; }
    const ScreenLayout& Layout() const { return layout; }
    bool Sharp() const { return sharp; }
    // The level of the last composed picture; -1 before the first.
    int32_t LastRedrawLevel() const { return lastRedrawLevel; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateSurfaces();
    void CreateButtonBar();
    void LoadSheets(const QImage& tiles, const QImage& hud);
    ScreenLayout LayoutFor(QSize size) const;
    void ApplyLayout(const ScreenLayout& next);
    void ComposeSideBar(QPoint focus, const QString& caption);
    QString ShownCaption(const QString& caption) const;
    void PaintPlayState(QPoint focus);

    QWidget& window;
    PictureBox& picture;
    const std::array<QImage, 2>& sheets;
    std::shared_ptr<DX7Draw> dx7;
    std::unique_ptr<MapCtrl> mapCtrl;
    PaiCtrl* controller = nullptr;
    SurfaceNumbers surfaceSet;
    SheetRectangles sheetRects;
    PixelRect ScreenRect;
    QFont font;
    bool sharp = true;
    ScreenLayout layout;
    QTimer settle;
    QPoint lastFocus;
    QString lastCaption;
    int32_t lastRedrawLevel = -1;
    std::function<std::optional<StatusFigures>()> statusFigures;
    std::optional<StatusFigures> shownStatus;
    bool paused = false;
};
