#include "AppIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace AppIcon {
namespace {

// The design on a 256-unit square.
void PaintTile(QPainter& painter, QRectF face, const QColor& edge)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(edge);
    painter.drawRoundedRect(face.translated(14, 14), 22, 22);
    painter.setBrush(QColor(0xF4, 0xEF, 0xE0));
    painter.setPen(QPen(QColor(0x6B, 0x5B, 0x40), 4));
    painter.drawRoundedRect(face, 22, 22);
}

void PaintCircle(QPainter& painter, QPointF centre, double radius, const QColor& colour)
{
    painter.setPen(QPen(colour, radius * 0.28));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(centre, radius * 0.38, radius * 0.38);
}

} // namespace

QImage Build(int size)
{
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 256.0, size / 256.0);
    PaintTile(painter, QRectF(74, 30, 150, 196), QColor(0x2E, 0x7A, 0x44));
    PaintTile(painter, QRectF(22, 14, 150, 196), QColor(0x1E, 0x5A, 0x32));
    PaintCircle(painter, QPointF(62, 60), 22, QColor(0x1F, 0x4F, 0xA0));
    PaintCircle(painter, QPointF(132, 60), 22, QColor(0x1F, 0x4F, 0xA0));
    PaintCircle(painter, QPointF(97, 112), 26, QColor(0xC8, 0x20, 0x20));
    PaintCircle(painter, QPointF(62, 164), 22, QColor(0x1A, 0x80, 0x3A));
    PaintCircle(painter, QPointF(132, 164), 22, QColor(0x1A, 0x80, 0x3A));
    painter.end();
    return icon;
}

} // namespace AppIcon
