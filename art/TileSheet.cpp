#include "TileSheet.h"

#include "KeyedStamp.h"
#include "TileFacePainter.h"
#include "TileFramePainter.h"

#include <QPainter>

#include <cmath>

QRect TileSheet::FaceRect(int face)
{
    return {face % 10 * TileFacePainter::Width, face / 10 * TileFacePainter::Height,
            TileFacePainter::Width, TileFacePainter::Height};
}

QRect TileSheet::FrameRect(int cell)
{
    return {cell * TileFramePainter::Width, FrameTop, TileFramePainter::Width,
            TileFramePainter::Height};
}

QRect TileSheet::Scaled(const QRect& region, double scale)
{
    const auto edge = [scale](int value) { return static_cast<int>(std::lround(value * scale)); };
    return QRect(QPoint(edge(region.left()), edge(region.top())),
                 QPoint(edge(region.left() + region.width()) - 1, edge(region.top() + region.height()) - 1));
}

QImage TileSheet::Build(double scale)
{
    QImage sheet(Scaled({0, 0, Width, Height}, scale).size(), QImage::Format_RGB32);
    sheet.fill(Key);
    QPainter p(&sheet);
    for (int face = 0; face < 60; ++face) {
        const QRect place = Scaled(FaceRect(face), scale);
        p.drawImage(place.topLeft(), TileFacePainter::Paint(face, place.size()));
    }
    p.end();
    for (int cell = 0; cell < TileFramePainter::CellCount; ++cell) {
        const QRect place = Scaled(FrameRect(cell), scale);
        KeyedStamp::Hard(sheet, TileFramePainter::Paint(cell, place.size()), place.topLeft(), Key);
    }
    return sheet;
}
