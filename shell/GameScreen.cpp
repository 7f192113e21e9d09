#include "GameScreen.h"

#include "BoardSprites.h"
#include "ButtonSheet.h"
#include "DX7Draw.h"
#include "Language.h"
#include "MapCtrl.h"
#include "PaiCtrl.h"
#include "PaiStructure.h"
#include "PictureBox.h"
#include "ScreenColours.h"
#include "Settings.h"
#include "StatusPainter.h"
#include "TileSheet.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>
#include <climits>

namespace {

constexpr int32_t kCaptionX = 665;
constexpr int32_t kCaptionY = 120;
constexpr double kLinePitch = 14.0;
const QString kScalingKey = QStringLiteral("scaling");
const QString kPixelScaling = QStringLiteral("pixel");

PixelRect WholePicture(const QImage& picture)
{
    return {0, 0, picture.width(), picture.height()};
}

PixelRect Joined(const PixelRect& a, const PixelRect& b)
{
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}

PixelRect TileAt(int32_t x, int32_t y)
{
    return {x, y, x + PaiStructure::kTileWidth, y + PaiStructure::kTileHeight};
}

constexpr PixelRect kNothing{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
constexpr PixelRect kWholeBoard{0, 0, GameScreen::kBoardWidth, GameScreen::kBoardHeight};

// The box around every tile of the layout, removed ones included, so that
// the board keeps its place through the game; the whole board without one.
PixelRect TilesBox(const PaiStructure& board)
{
    PixelRect box = kNothing;
    for (int32_t id = 0; id < board.MaxID(); ++id)
        box = Joined(box, TileAt(board.PaiBltX(id), board.PaiBltY(id)));
    return board.MaxID() > 0 ? box : kWholeBoard;
}

PixelRect ClearBox(const PaiStructure& board)
{
    PixelRect box = kNothing;
    for (int32_t i = 0; i < PaiStructure::kClearTiles; ++i) {
        BoardPoint origin;
        board.GetClearRect(origin, i);
        box = Joined(box, TileAt(origin.x, origin.y));
    }
    return box;
}

ButtonSheet::Labels SheetLabels()
{
    return ButtonSheetPath().endsWith(QStringLiteral("-en.png")) ? ButtonSheet::Labels::English
                                                                  : ButtonSheet::Labels::Japanese;
}

} // namespace

bool GameScreen::SharpScaling(const std::optional<QString>& requested, Settings& settings)
{
    if (requested) {
        settings.SetValue(kScalingKey, *requested);
        return *requested != kPixelScaling;
    }
    return settings.Value(kScalingKey).toString().trimmed().toLower() != kPixelScaling;
}

GameScreen::GameScreen(QWidget& window, PictureBox& picture, const std::array<QImage, 2>& sheets)
    : window(window), picture(picture), sheets(sheets)
{
    settle.setSingleShot(true);
    settle.setInterval(kSettleMs);
    connect(&settle, &QTimer::timeout, this, &GameScreen::FitToWindow);
}

GameScreen::~GameScreen()
{
    picture.removeEventFilter(this);
    picture.SetFreeScale({});
}

void GameScreen::Create(const QFont& textFont, bool sharpScaling)
{
    font = textFont;
    sharp = sharpScaling;
    dx7 = std::make_shared<DX7Draw>();
    dx7->Initialize(&window, &picture, kScreenWidth, kScreenHeight);
    picture.SetMarginColor(ScreenColours::kBackdrop);
    CreateSurfaces();
    dx7->DD7SetFont(font);
    CreateButtonBar();
    if (!sharp)
        return;
    picture.SetFreeScale([this](QPointF at) { return std::optional<QPoint>(layout.DesignAt(at)); });
    picture.installEventFilter(this);
}

void GameScreen::CreateSurfaces()
{
    LoadSheets(sheets[0], {});
    surfaceSet.Work = dx7->GetFreeNumber();
    dx7->CreateSprite(surfaceSet.Work, kBoardWidth, kBoardHeight);

    LoadSheets({}, sheets[1]);

    surfaceSet.Wall = dx7->GetFreeNumber();
    dx7->CreateSprite(surfaceSet.Wall, kBoardWidth, kBoardHeight);

    surfaceSet.Backdrop = dx7->GetFreeNumber();
    dx7->CreateSprite(surfaceSet.Backdrop, kScreenWidth, kScreenHeight);
    ScreenRect = {0, 0, kScreenWidth, kScreenHeight};
    dx7->DD7Fill(surfaceSet.Backdrop, ScreenRect, ScreenColours::kBackdrop);
}

// Loads the tile sheet (keyed on magenta, and laid over white keyed on white
// for the faces) and the button-bar sheet (keyed on red); a null one stays.
void GameScreen::LoadSheets(const QImage& tiles, const QImage& hud)
{
    if (!tiles.isNull()) {
        LoadTileSheet(*dx7, surfaceSet.Tiles, surfaceSet.TilesOnWhite, tiles);
        sheetRects.TilesRect = WholePicture(tiles);
    }
    if (!hud.isNull()) {
        surfaceSet.Hud = surfaceSet.Hud != 0 ? surfaceSet.Hud : dx7->GetFreeNumber();
        sheetRects.HudRect = WholePicture(hud);
        dx7->LoadPicture(surfaceSet.Hud, hud, true, ScreenColours::kButtonKey, ScreenColours::kButtonKey);
    }
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
    HandBoardSprites(paiCtrl, {surfaceSet.Tiles, surfaceSet.TilesOnWhite, surfaceSet.Work, surfaceSet.Wall,
                               sheetRects.TilesRect.Right, sheetRects.TilesRect.Bottom});
}

bool GameScreen::eventFilter(QObject* watched, QEvent* event)
{
    // While the size is being dragged the last picture is shown resampled.
    if (watched == &picture && event->type() == QEvent::Resize)
        settle.start();
    return QObject::eventFilter(watched, event);
}

void GameScreen::FitToWindow()
{
    settle.stop();
    if (sharp)
        ApplyLayout(LayoutFor(picture.DeviceSize()));
    Redraw(REDRAW_FULL, lastFocus, lastCaption);
}

ScreenLayout GameScreen::LayoutFor(QSize size) const
{
    const PaiStructure& board = controller->Board();
    return ScreenLayout::Fit(size, TilesBox(board), ClearBox(board));
}

void GameScreen::ApplyLayout(const ScreenLayout& next)
{
    if (next == layout)
        return;
    layout = next;
    if (layout.IsDesign()) {
        LoadSheets(sheets[0], sheets[1]);
        dx7->ResizeBackSurface(kScreenWidth, kScreenHeight);
        ScreenRect = {0, 0, kScreenWidth, kScreenHeight};
        mapCtrl->SetLayout(nullptr);
        dx7->DD7SetFont(font);
        dx7->DD7SetLinePitch(kLinePitch);
        controller->SetBoardView({}, {}, 0, kBoardWidth, kBoardHeight);
    } else {
        const double tileScale = layout.Board().scale;
        const double clearScale = layout.Clear().scale;
        const double u = layout.SideScale();
        LoadSheets(TileSheet::Build(tileScale), ButtonSheet::Build(SheetLabels(), u));
        int32_t clearSheet = 0;
        if (clearScale != tileScale) {
            surfaceSet.ClearTiles = surfaceSet.ClearTiles != 0 ? surfaceSet.ClearTiles : dx7->GetFreeNumber();
            dx7->LoadPicture(surfaceSet.ClearTiles, TileSheet::Build(clearScale), true, ScreenColours::kTileKey, ScreenColours::kTileKey);
            clearSheet = surfaceSet.ClearTiles;
        }
        const QSize size = layout.Size();
        dx7->ResizeBackSurface(size.width(), size.height());
        ScreenRect = {0, 0, size.width() - layout.SideLeft(), size.height()};
        mapCtrl->SetLayout(&layout);
        QFont scaled = font;
        scaled.setPointSizeF(font.pointSizeF() * u);
        dx7->DD7SetFont(scaled);
        dx7->DD7SetLinePitch(kLinePitch * u);
        controller->SetBoardView(layout.Board(), layout.Clear(), clearSheet, layout.SideLeft(), size.height());
    }
    dx7->CreateSprite(surfaceSet.Backdrop, ScreenRect.Right, ScreenRect.Bottom);
    dx7->DD7Fill(surfaceSet.Backdrop, ScreenRect, ScreenColours::kBackdrop);
    mapCtrl->SetDX7Sprite(surfaceSet.Hud, sheetRects.HudRect.Right, sheetRects.HudRect.Bottom);
}

void GameScreen::Redraw(int32_t level, QPoint focus, const QString& caption)
{
    lastFocus = focus;
    lastCaption = caption;
    // A new layout brings another tiles' box; the size stays.
    if (level == REDRAW_FULL && !layout.IsDesign())
        ApplyLayout(LayoutFor(layout.Size()));
    dx7->DD7BltFast(layout.IsDesign() ? 0 : layout.SideLeft(), 0, surfaceSet.Backdrop, ScreenRect);
    if (level == REDRAW_FOCUS)
        controller->PaintFocus();
    else if (level == REDRAW_FULL)
        controller->PaintMap();
    const int32_t boardOrigin = layout.IsDesign() ? kBoardOrigin : 0;
    controller->Blit(boardOrigin, boardOrigin);
    ComposeSideBar(focus, caption);
    lastRedrawLevel = level;
    Flip();
}

// Everything drawn in the side bar's coordinates, and the cursor over all.
void GameScreen::ComposeSideBar(QPoint focus, const QString& caption)
{
    mapCtrl->BlitCounter(controller->GetPaiCount());
    // Away from the buttons the pointer names none, so all are drawn normal.
    mapCtrl->BlitButton(mapCtrl->JudgePointer(focus.x(), focus.y()), MapCtrl::MODE_FOCUS);
    mapCtrl->BlitCursor(focus.x(), focus.y());
    const QPoint captionAt = layout.SideBarAt(kCaptionX, kCaptionY);
    dx7->DD7DrawText(captionAt.x(), captionAt.y(), ShownCaption(caption).toStdString());
    PaintPlayState(focus);
}

// The caption, cut before the line that would reach the status.
QString GameScreen::ShownCaption(const QString& caption) const
{
    if (!statusFigures)
        return caption;
    const qsizetype fitting = (StatusPainter::kArea.top() - kCaptionY) / static_cast<qsizetype>(kLinePitch);
    return caption.split(QStringLiteral("\r\n")).mid(0, fitting).join(QStringLiteral("\r\n"));
}

// Over the composed picture: the pause hides the board behind the wallpaper,
// and the status stands above the buttons. The cursor stays on top.
void GameScreen::PaintPlayState(QPoint focus)
{
    shownStatus = statusFigures ? statusFigures() : std::nullopt;
    if (!paused && !shownStatus)
        return;
    const int32_t origin = layout.IsDesign() ? kBoardOrigin : 0;
    const QSize board = layout.IsDesign() ? QSize(kBoardWidth, kBoardHeight)
                                          : QSize(layout.SideLeft(), layout.Size().height());
    if (paused)
        dx7->DD7BltFast(origin, origin, surfaceSet.Wall, {0, 0, board.width(), board.height()});
    const double u = layout.SideScale();
    dx7->DD7Paint([&](QPainter& painter) {
        // The painter scales the design's font itself.
        painter.setFont(font);
        if (paused) {
            const QRect region(QPointF(origin / u, origin / u).toPoint(), (QSizeF(board) / u).toSize());
            StatusPainter::PaintPaused(painter, u, region);
        }
        if (shownStatus) {
            painter.translate(layout.SideBarAt(0, 0));
            StatusPainter::PaintStatus(painter, u, *shownStatus);
        }
    });
    mapCtrl->BlitCursor(focus.x(), focus.y());
}

void GameScreen::ShowStatus(std::function<std::optional<StatusFigures>()> figures)
{
    statusFigures = std::move(figures);
}

int32_t GameScreen::MenuScale() const
{
    if (layout.IsDesign())
        return picture.Fit().scale;
    const double logical = layout.SideScale() / picture.devicePixelRatioF();
    return std::max(1, static_cast<int32_t>(logical));
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
