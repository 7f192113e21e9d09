#pragma once

#include <QImage>

// A committed picture of the source tree, in the format the generators draw.
inline QImage Committed(const char* name)
{
    return QImage(QString(TOVRIK_SOURCE_DIR) + "/" + name).convertToFormat(QImage::Format_RGB32);
}

inline QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

inline int Area(const QRect& rect) { return rect.width() * rect.height(); }

inline int CountColour(const QImage& image, const QRect& rect, QRgb colour)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += At(image, x, y) == colour;
    return count;
}

// The raw pixels, to tell pictures apart in a set.
inline QByteArray Pixels(const QImage& image)
{
    return {reinterpret_cast<const char*>(image.constBits()), static_cast<int>(image.sizeInBytes())};
}
