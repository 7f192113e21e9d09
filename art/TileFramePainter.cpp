#include "TileFramePainter.h"

#include "KeyedStamp.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>

namespace {

constexpr QRectF FaceArea(0, 0, 37, 51);
constexpr qreal Corner = 3.5;
constexpr int Thickness = 6;

struct FaceColours {
    QColor top;
    QColor bottom;
};

FaceColours ColoursOf(int cell)
{
    static const std::array<FaceColours, TileFramePainter::CellCount> colours{{
        {QColor(0xF4, 0x9A, 0x3A), QColor(0xE0, 0x74, 0x1C)},  // back, orange
        {QColor(0xFF, 0xFE, 0xF8), QColor(0xF1, 0xEC, 0xDC)},  // normal, white
        {QColor(0xFF, 0xE4, 0xB8), QColor(0xFF, 0xCC, 0x8A)},  // focus, pale orange
        {QColor(0xFF, 0xC4, 0xD6), QColor(0xF8, 0xA2, 0xBE)},  // selected, pink
        {QColor(0xC4, 0xE8, 0xFF), QColor(0x98, 0xD0, 0xF8)},  // hint, light blue
        {QColor(0xDC, 0xC4, 0xF6), QColor(0xBE, 0x9C, 0xEC)},  // played back, violet
    }};
    return colours[cell];
}

// The edge from the face down: three steps of the ivory body, three of the orange back.
QColor EdgeColour(int step)
{
    static const std::array<QColor, Thickness> edge{
        QColor(0xE4, 0xDC, 0xC6), QColor(0xD8, 0xCE, 0xB4), QColor(0xCB, 0xBF, 0xA2),
        QColor(0xE2, 0x7C, 0x2C), QColor(0xCC, 0x66, 0x20), QColor(0xB0, 0x52, 0x18)};
    return edge[step - 1];
}

QPainterPath Silhouette()
{
    QPainterPath shape;
    for (int step = 0; step <= Thickness; ++step) {
        QPainterPath layer;
        layer.addRoundedRect(FaceArea.translated(step, step), Corner, Corner);
        shape = shape.united(layer);
    }
    return shape;
}

void PaintEdge(QPainter& p)
{
    for (int step = Thickness; step >= 1; --step) {
        p.setPen(Qt::NoPen);
        p.setBrush(EdgeColour(step));
        p.drawRoundedRect(FaceArea.translated(step, step), Corner, Corner);
    }
    // an outline just inside the tile's silhouette, so that it survives the keyed copy
    const QPainterPath silhouette = Silhouette();
    p.save();
    p.setClipPath(silhouette);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x5A, 0x44, 0x2C), 2.0));
    p.drawPath(silhouette);
    p.restore();
}

void PaintFace(QPainter& p, int cell)
{
    const FaceColours colours = ColoursOf(cell);
    QLinearGradient gradient(0, 0, 0, FaceArea.height());
    gradient.setColorAt(0, colours.top);
    gradient.setColorAt(1, colours.bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(gradient);
    p.drawRoundedRect(FaceArea, Corner, Corner);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x7A, 0x66, 0x4C), 1.0));
    p.drawRoundedRect(FaceArea.adjusted(0.5, 0.5, -0.5, -0.5), Corner - 0.5, Corner - 0.5);
}

// The back of a tile: a raised panel with a lattice of small diamonds.
void PaintBackPattern(QPainter& p)
{
    const QColor line(0xC8, 0x5E, 0x14);
    p.setPen(QPen(QColor(0xFA, 0xC0, 0x7A), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(3.5, 3.5, 29, 43), 2.5, 2.5);
    p.setPen(QPen(line, 1.0));
    p.setBrush(QColor(0xEA, 0x84, 0x26));
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QPointF c(9.5 + 8.5 * column + (row % 2 ? 4.25 : 0), 9.0 + 8.0 * row);
            if (c.x() > 30)
                continue;
            p.drawPolygon(QPolygonF({c + QPointF(0, -3), c + QPointF(3, 0), c + QPointF(0, 3),
                                     c + QPointF(-3, 0)}));
        }
    }
}

} // namespace

QImage TileFramePainter::Paint(int cell, QSize size)
{
    QImage layer = KeyedStamp::Layer(size.width(), size.height());
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    if (size != QSize(Width, Height))
        p.scale(double(size.width()) / Width, double(size.height()) / Height);
    PaintEdge(p);
    PaintFace(p, cell);
    if (cell == 0)
        PaintBackPattern(p);
    return layer;
}
