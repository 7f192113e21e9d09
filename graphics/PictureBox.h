#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

#include "PictureFit.h"

class PixelSurface;

// The picture window a DX7Draw presents into. It shows the presented surface
// at the largest whole-number scale that fits, each pixel an exact square
// block, centred; the rest of the box has the margin colour.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Shows surface (which must outlive its showing) and repaints at once;
    // nullptr clears the picture.
    void Present(const PixelSurface* surface);
    const PixelSurface* Presented() const { return presented_; }
    // The colour around the picture, 0x00BBGGRR as every colour of the layer.
    void SetMarginColor(uint32_t color);

    // Free scaling: the presented picture is meant to fill the box in device
    // pixels, drawn one to one when it has the box's device size and
    // resampled to fill it while a new size is on its way; positions map to
    // picture points through toPicture, given the box's position scaled to
    // the presented picture. An empty function is the whole-number fit.
    using PointMap = std::function<std::optional<QPoint>(QPointF)>;
    void SetFreeScale(PointMap toPicture);
    bool FreeScale() const { return static_cast<bool>(toPicture_); }
    // The box's size in device pixels.
    QSize DeviceSize() const;

    // Where the presented picture sits in the box at its present size.
    PictureFit Fit() const;
    // The picture pixel under a position in the box (rounded to whole pixels,
    // halves to even); nothing in the margins or with no picture shown.
    std::optional<QPoint> PictureAt(QPointF position) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect PictureRect(const PictureFit& fit) const;
    // Above 1×: the region of the box that changed since the picture was scaled last.
    QRegion UpdateScaled(const PictureFit& fit);

    void PaintFree(QPainter& painter);

    const PixelSurface* presented_ = nullptr;
    PointMap toPicture_;
    QColor marginColor_ = Qt::black;
    ScaledPicture scaled_;
    // Present has just brought scaled_ up to date for the paint it asks for.
    bool scaledForPaint_ = false;
};
