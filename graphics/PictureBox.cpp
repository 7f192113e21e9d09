#include "PictureBox.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>
#include <utility>

#include "PixelSurface.h"

namespace {

// A view over the surface's own memory: no pixel is converted or copied
// before the paint engine reads it.
QImage ImageOver(const PixelSurface& surface)
{
    return QImage(reinterpret_cast<const uchar*>(surface.Pixels()), surface.Width(), surface.Height(),
                  surface.Stride() * qsizetype(sizeof(uint32_t)), QImage::Format_RGB32);
}

int32_t WholePixel(double coordinate)
{
    return static_cast<int32_t>(std::nearbyint(coordinate));
}

} // namespace

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::Present(const PixelSurface* surface)
{
    presented_ = surface;
    if (!isVisible()) {
        return;
    }
    // Painting now, not at the next event dispatch: callers present several
    // frames in a row (the clear animation) without returning to the loop.
    const PictureFit fit = Fit();
    if (surface == nullptr || FreeScale()) {
        repaint();
    } else if (fit.scale == 1) {
        repaint(PictureRect(fit));
    } else if (const QRegion changed = UpdateScaled(fit); !changed.isEmpty()) {
        scaledForPaint_ = true;
        repaint(changed);
    }
}

void PictureBox::SetMarginColor(uint32_t color)
{
    marginColor_ = QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
    update();
}

PictureFit PictureBox::Fit() const
{
    if (presented_ == nullptr) {
        return PictureFit::Of(0, 0, width(), height());
    }
    return PictureFit::Of(presented_->Width(), presented_->Height(), width(), height());
}

void PictureBox::SetFreeScale(PointMap toPicture)
{
    toPicture_ = std::move(toPicture);
    update();
}

QSize PictureBox::DeviceSize() const
{
    const qreal ratio = devicePixelRatioF();
    return {static_cast<int>(std::lround(width() * ratio)), static_cast<int>(std::lround(height() * ratio))};
}

std::optional<QPoint> PictureBox::PictureAt(QPointF position) const
{
    if (FreeScale()) {
        if (presented_ == nullptr || width() < 1 || height() < 1)
            return std::nullopt;
        return toPicture_(QPointF(position.x() * presented_->Width() / width(),
                                  position.y() * presented_->Height() / height()));
    }
    const std::optional<PictureFit::Point> at = Fit().ToPicture(WholePixel(position.x()), WholePixel(position.y()));
    if (!at) {
        return std::nullopt;
    }
    return QPoint(at->x, at->y);
}

QRect PictureBox::PictureRect(const PictureFit& fit) const
{
    return {fit.left, fit.top, fit.ScaledWidth(), fit.ScaledHeight()};
}

QRegion PictureBox::UpdateScaled(const PictureFit& fit)
{
    QRegion changed;
    for (const PixelRect& r : scaled_.Update(presented_->View(), fit.scale)) {
        const PictureFit::Point topLeft = fit.ToView(r.Left, r.Top);
        changed += QRect(topLeft.x, topLeft.y, r.Width() * fit.scale, r.Height() * fit.scale);
    }
    return changed;
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (presented_ == nullptr) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    if (FreeScale()) {
        PaintFree(painter);
        return;
    }
    const PictureFit fit = Fit();
    const QRect picture = PictureRect(fit);
    for (const QRect& margin : event->region() - picture) {
        painter.fillRect(margin, marginColor_);
    }
    if (fit.scale == 1) {
        painter.drawImage(fit.left, fit.top, ImageOver(*presented_));
        return;
    }
    if (!std::exchange(scaledForPaint_, false)) {
        UpdateScaled(fit);
    }
    const QImage scaled(reinterpret_cast<const uchar*>(scaled_.Pixels()), scaled_.Width(), scaled_.Height(),
                        scaled_.Width() * qsizetype(sizeof(uint32_t)), QImage::Format_RGB32);
    painter.drawImage(picture.topLeft(), scaled);
}

void PictureBox::PaintFree(QPainter& painter)
{
    QImage image = ImageOver(*presented_);
    if (image.size() == DeviceSize()) {
        image.setDevicePixelRatio(devicePixelRatioF());
        painter.drawImage(0, 0, image);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(rect()), image);
}
