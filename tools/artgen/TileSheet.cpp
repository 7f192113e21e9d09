#include "TileSheet.h"

#include "KeyedStamp.h"
#include "TileFacePainter.h"
#include "TileFramePainter.h"

#include <QPainter>

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

QImage TileSheet::Build()
{
    QImage sheet(Width, Height, QImage::Format_RGB32);
    sheet.fill(Key);
    QPainter p(&sheet);
    for (int face = 0; face < 60; ++face)
        p.drawImage(FaceRect(face).topLeft(), TileFacePainter::Paint(face));
    p.end();
    for (int cell = 0; cell < TileFramePainter::CellCount; ++cell)
        KeyedStamp::Hard(sheet, TileFramePainter::Paint(cell), FrameRect(cell).topLeft(), Key);
    return sheet;
}
