#include "EditorBoard.h"

#include "BoardGeometry.h"
#include "PaiStructure.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

// The tile sheet: faces in rows of ten 37 x 51 cells, the 43 x 57 frames below.
constexpr int kFaceWidth = 37;
constexpr int kFaceHeight = 51;
constexpr int kFacesPerRow = 10;
constexpr int kFrameTop = 306;
constexpr int kNormalFrame = 1;
constexpr int kColumnStep = 18;
constexpr int kRowStep = 25;
constexpr int kLevelShift = 6;
const QColor kBoardColour(0x1E, 0x6E, 0x3C);
const QColor kAllowed(0x40, 0xE0, 0x60, 150);
const QColor kRefused(0xF0, 0x40, 0x30, 150);
constexpr double kLowerOpacity = 0.45;
constexpr double kHigherOpacity = 0.2;

// A face per level, so that the levels tell apart at a glance.
int FaceOfLevel(int level)
{
    static constexpr int kFaces[LayoutDraft::kLevels] = {0, 10, 20, 30, 34, 40, 44, 48};
    return kFaces[level];
}

} // namespace

EditorBoard::EditorBoard(const LayoutDraft& draft, QWidget* parent)
    : QWidget(parent), draft_(draft), sheet_(QStringLiteral(":/sheets/tiles.png"))
{
    // Magenta is the sheet's see-through colour, as the game's sprite layer keys it.
    sheet_ = sheet_.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < sheet_.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(sheet_.scanLine(y));
        for (int x = 0; x < sheet_.width(); ++x)
            if ((line[x] & 0xFFFFFF) == 0xFF00FF)
                line[x] = 0;
    }
    setMouseTracking(true);
    setMinimumSize(PaiStructure::kBoardWidth / 2, PaiStructure::kBoardHeight / 2);
}

void EditorBoard::SetLevel(int level)
{
    level_ = level;
    update();
}

double EditorBoard::Scale() const
{
    return std::min(double(width()) / PaiStructure::kBoardWidth, double(height()) / PaiStructure::kBoardHeight);
}

QPointF EditorBoard::Origin() const
{
    const double scale = Scale();
    return {(width() - PaiStructure::kBoardWidth * scale) / 2, (height() - PaiStructure::kBoardHeight * scale) / 2};
}

QPointF EditorBoard::OnBoard(const QPointF& widgetPoint) const
{
    return (widgetPoint - Origin()) / Scale();
}

QPoint EditorBoard::TileCentre(int column, int row) const
{
    const BoardPoint origin = board::BltPosOf(LayoutDraft::CodeOf({level_, column, row}));
    const QPointF centre(origin.x + kFaceWidth / 2.0, origin.y + kFaceHeight / 2.0);
    return (Origin() + centre * Scale()).toPoint();
}

LayoutDraft::Tile EditorBoard::SnappedTile(const QPointF& point) const
{
    const double shift = level_ * kLevelShift;
    const int column = int(std::lround((point.x() + shift - kFaceWidth / 2.0) / kColumnStep));
    const int row = int(std::lround((point.y() + shift - kFaceHeight / 2.0) / kRowStep));
    return {level_, column, row};
}

void EditorBoard::PaintTile(QPainter& painter, const LayoutDraft::Tile& tile, double opacity) const
{
    const BoardPoint origin = board::BltPosOf(LayoutDraft::CodeOf(tile));
    const int face = FaceOfLevel(tile.level);
    painter.setOpacity(opacity);
    painter.drawImage(QPoint(origin.x, origin.y), sheet_,
                      QRect(kNormalFrame * PaiStructure::kTileWidth, kFrameTop, PaiStructure::kTileWidth,
                            PaiStructure::kTileHeight));
    painter.drawImage(QPoint(origin.x, origin.y), sheet_,
                      QRect(face % kFacesPerRow * kFaceWidth, face / kFacesPerRow * kFaceHeight, kFaceWidth,
                            kFaceHeight));
}

void EditorBoard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.translate(Origin());
    painter.scale(Scale(), Scale());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.fillRect(QRect(0, 0, PaiStructure::kBoardWidth, PaiStructure::kBoardHeight), kBoardColour);
    // The game's painting order: level by level, then by diagonals from the top left.
    std::vector<LayoutDraft::Tile> tiles = draft_.Tiles();
    std::sort(tiles.begin(), tiles.end(), [](const auto& a, const auto& b) {
        return std::tuple(a.level, a.column + a.row, a.row) < std::tuple(b.level, b.column + b.row, b.row);
    });
    for (const LayoutDraft::Tile& tile : tiles)
        PaintTile(painter, tile, tile.level < level_ ? kLowerOpacity : tile.level > level_ ? kHigherOpacity : 1.0);
    if (!pointer_)
        return;
    const LayoutDraft::Tile ghost = SnappedTile(OnBoard(*pointer_));
    LayoutDraft::Tile under;
    const QPointF at = OnBoard(*pointer_);
    if (draft_.TileAt(level_, int(at.x()), int(at.y()), under))
        return;
    const bool allowed = draft_.CanPlace(ghost) == LayoutDraft::Verdict::Allowed;
    PaintTile(painter, ghost, 0.6);
    const BoardPoint origin = board::BltPosOf(LayoutDraft::CodeOf(ghost));
    painter.setOpacity(1.0);
    painter.fillRect(QRect(origin.x, origin.y, kFaceWidth, kFaceHeight), allowed ? kAllowed : kRefused);
}

void EditorBoard::mousePressEvent(QMouseEvent* event)
{
    const QPointF at = OnBoard(event->position());
    LayoutDraft::Tile under;
    const bool onTile = draft_.TileAt(level_, int(std::floor(at.x())), int(std::floor(at.y())), under);
    if (event->button() == Qt::RightButton || (event->button() == Qt::LeftButton && onTile)) {
        if (onTile)
            emit RemoveAsked(under);
    } else if (event->button() == Qt::LeftButton) {
        emit PlaceAsked(SnappedTile(at));
    }
}

void EditorBoard::mouseMoveEvent(QMouseEvent* event)
{
    pointer_ = event->position();
    update();
}

void EditorBoard::leaveEvent(QEvent*)
{
    pointer_.reset();
    update();
}

void EditorBoard::wheelEvent(QWheelEvent* event)
{
    const int steps = event->angleDelta().y();
    if (steps != 0)
        emit LevelStepAsked(steps > 0 ? 1 : -1);
}
