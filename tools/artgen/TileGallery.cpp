#include "TileGallery.h"

#include "TileFacePainter.h"
#include "TileFramePainter.h"
#include "TileSheet.h"

#include <vector>

namespace {

constexpr int Margin = 8;
constexpr int StepX = TileFramePainter::Width + 5;
constexpr int StepY = TileFramePainter::Height + 6;
constexpr int Columns = 10;
const QColor Board(0x00, 0xA0, 0x3C);

// Copies source through its key colour, as the game's keyed copies do.
void KeyedCopy(QImage& target, QPoint at, const QImage& source, const QRect& from, QRgb key)
{
    for (int y = 0; y < from.height(); ++y) {
        for (int x = 0; x < from.width(); ++x) {
            const QRgb pixel = source.pixel(from.x() + x, from.y() + y);
            if ((pixel & 0xFFFFFF) != (key & 0xFFFFFF))
                target.setPixel(at.x() + x, at.y() + y, pixel);
        }
    }
}

// The sheet as the game keeps it for faces: laid over white, white transparent.
QImage OverWhite(const QImage& sheet)
{
    QImage white(sheet.size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    KeyedCopy(white, {0, 0}, sheet, sheet.rect(), TileSheet::Key);
    return white;
}

void PaintTile(QImage& target, QPoint at, const QImage& sheet, const QImage& faces, int cell, int face)
{
    KeyedCopy(target, at, sheet, TileSheet::FrameRect(cell), TileSheet::Key);
    if (cell != 0 && face >= 0)
        KeyedCopy(target, at, faces, TileSheet::FaceRect(face), 0xFFFFFFFF);
}

std::vector<std::vector<int>> FaceRows()
{
    std::vector<std::vector<int>> rows(6);
    for (int face = 0; face < 54; ++face)
        if (!TileFacePainter::IsBlank(face))
            rows[face / 10].push_back(face);
    return rows;
}

} // namespace

QImage TileGallery::Build(const QImage& tileSheet)
{
    const auto rows = FaceRows();
    const int rowCount = static_cast<int>(rows.size()) + 1;
    QImage gallery(2 * Margin + Columns * StepX - 5, 2 * Margin + rowCount * StepY - 6,
                   QImage::Format_RGB32);
    gallery.fill(Board);
    const QImage faces = OverWhite(tileSheet);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int i = 0; i < static_cast<int>(rows[r].size()); ++i)
            PaintTile(gallery, {Margin + i * StepX, Margin + r * StepY}, tileSheet, faces, 1, rows[r][i]);
    const int frameRow = Margin + static_cast<int>(rows.size()) * StepY;
    const int sampleFace = 24;  // five circles show each frame colour well
    for (int cell = 0; cell < TileFramePainter::CellCount; ++cell)
        PaintTile(gallery, {Margin + cell * StepX, frameRow}, tileSheet, faces, cell, sampleFace);
    return gallery.scaled(gallery.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}
