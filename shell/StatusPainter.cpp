#include "StatusPainter.h"

#include <QPainter>

namespace {

// The side bar's backdrop and its black text.
constexpr QRgb kBackdrop = 0x3399FF;
constexpr QRgb kText = 0x000000;
constexpr int kTextLeft = 10;
constexpr int kTextTop = 6;

QRectF Scaled(const QRectF& rect, double scale)
{
    return {rect.topLeft() * scale, rect.size() * scale};
}

} // namespace

QStringList StatusPainter::Lines(const StatusFigures& figures)
{
    return {tr("時間 %1").arg(QString::fromStdString(StatusFigures::ClockText(figures.playedMs))),
            tr("取れる組 %1").arg(figures.takeableSets)};
}

QString StatusPainter::PausedText()
{
    return tr("一時停止中");
}

void StatusPainter::PaintStatus(QPainter& painter, double scale, const StatusFigures& figures)
{
    painter.save();
    painter.fillRect(Scaled(kArea, scale), QColor(kBackdrop));
    QFont font = painter.font();
    font.setPointSizeF(font.pointSizeF() * scale);
    painter.setFont(font);
    painter.setPen(QColor(kText));
    const QStringList lines = Lines(figures);
    for (int k = 0; k < lines.size(); ++k) {
        const QRectF line(kArea.left() + kTextLeft, kArea.top() + kTextTop + k * kLinePitch,
                          kArea.width() - kTextLeft, kLinePitch);
        painter.drawText(Scaled(line, scale), Qt::AlignLeft | Qt::AlignVCenter, lines[k]);
    }
    painter.restore();
}

void StatusPainter::PaintPaused(QPainter& painter, double scale, const QRect& board)
{
    painter.save();
    QFont font = painter.font();
    font.setPointSizeF(font.pointSizeF() * 2.5 * scale);
    font.setBold(true);
    painter.setFont(font);
    const QRectF area = Scaled(board, scale);
    // A light shadow keeps the notice legible on any wallpaper.
    painter.setPen(QColor(Qt::white));
    painter.drawText(area.translated(scale, scale), Qt::AlignCenter, PausedText());
    painter.setPen(QColor(kText));
    painter.drawText(area, Qt::AlignCenter, PausedText());
    painter.restore();
}
