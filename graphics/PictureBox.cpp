#include "PictureBox.h"

#include <QImage>
#include <QPainter>

#include "PixelSurface.h"

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::Present(const PixelSurface* surface)
{
    presented_ = surface;
    // Painting now, not at the next event dispatch: callers present several
    // frames in a row (the clear animation) without returning to the loop.
    if (isVisible()) {
        repaint();
    }
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (presented_ == nullptr) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    // A view over the surface's own memory: no pixel is converted or copied
    // before the paint engine reads it.
    const QImage picture(reinterpret_cast<const uchar*>(presented_->Pixels()),
                         presented_->Width(), presented_->Height(),
                         presented_->Stride() * qsizetype(sizeof(uint32_t)), QImage::Format_RGB32);
    if (picture.size() == size()) {
        painter.drawImage(0, 0, picture);
    } else {
        painter.drawImage(rect(), picture);
    }
}
