#pragma once

#include <QWidget>

class PixelSurface;

// The picture window a DX7Draw presents into. It paints the presented surface
// straight from the surface's memory, stretched when the widget's size differs.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Shows surface (which must outlive its showing) and repaints at once;
    // nullptr clears the picture.
    void Present(const PixelSurface* surface);
    const PixelSurface* Presented() const { return presented_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PixelSurface* presented_ = nullptr;
};
