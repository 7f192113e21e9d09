#pragma once

#include "LayoutDraft.h"

#include <QImage>
#include <QPointF>
#include <QWidget>

#include <optional>

// The editor's board: the draft's tiles drawn with the game's tile art,
// scaled to the widget, the current level in full, lower ones dimmed, higher
// ones faint, and a ghost tile under the pointer that shows whether it may
// be placed there. Clicks become requests; the window carries them out.
class EditorBoard : public QWidget {
    Q_OBJECT

public:
    explicit EditorBoard(const LayoutDraft& draft, QWidget* parent = nullptr);

    void SetLevel(int level);
    int Level() const { return level_; }
    // Where in the widget the centre of the tile at (column, row) of the current level lies.
    QPoint TileCentre(int column, int row) const;

signals:
    void PlaceAsked(const LayoutDraft::Tile& tile);
    void RemoveAsked(const LayoutDraft::Tile& tile);
    // +1 a level up, -1 down.
    void LevelStepAsked(int step);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    double Scale() const;
    QPointF Origin() const;
    QPointF OnBoard(const QPointF& widgetPoint) const;
    // The half-tile cell of the current level whose tile the point is nearest the middle of.
    LayoutDraft::Tile SnappedTile(const QPointF& boardPoint) const;
    void PaintTile(QPainter& painter, const LayoutDraft::Tile& tile, double opacity) const;

    const LayoutDraft& draft_;
    QImage sheet_;
    int level_ = 0;
    std::optional<QPointF> pointer_;
};
