#include "KeyedStamp.h"

namespace {

QRgb Blend(QRgb premultipliedTop, QRgb bottom)
{
    const int a = qAlpha(premultipliedTop);
    const auto mix = [a](int top, int under) { return top + (under * (255 - a) + 127) / 255; };
    return qRgb(mix(qRed(premultipliedTop), qRed(bottom)), mix(qGreen(premultipliedTop), qGreen(bottom)),
                mix(qBlue(premultipliedTop), qBlue(bottom)));
}

QRgb NudgedAwayFrom(QRgb colour, QRgb key)
{
    if ((colour & 0xFFFFFF) != (key & 0xFFFFFF))
        return colour;
    const int green = qGreen(colour);
    return qRgb(qRed(colour), green < 128 ? green + 1 : green - 1, qBlue(colour));
}

QImage Premultiplied(const QImage& layer)
{
    return layer.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

void KeyedStamp::OverMatte(QImage& sheet, const QImage& layer, QPoint at, const QImage& matte,
                           QRgb key, int minAlpha)
{
    const QImage top = Premultiplied(layer);
    for (int y = 0; y < top.height(); ++y) {
        for (int x = 0; x < top.width(); ++x) {
            const QRgb pixel = top.pixel(x, y);
            const QRgb result = qAlpha(pixel) < minAlpha
                                    ? key
                                    : NudgedAwayFrom(Blend(pixel, matte.pixel(x, y)), key);
            sheet.setPixel(at.x() + x, at.y() + y, result | 0xFF000000u);
        }
    }
}

void KeyedStamp::OverMatte(QImage& sheet, const QImage& layer, QPoint at, QColor matte, QRgb key,
                           int minAlpha)
{
    QImage plain(layer.size(), QImage::Format_RGB32);
    plain.fill(matte);
    OverMatte(sheet, layer, at, plain, key, minAlpha);
}

void KeyedStamp::Hard(QImage& sheet, const QImage& layer, QPoint at, QRgb key)
{
    const QImage straight = layer.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < straight.height(); ++y) {
        for (int x = 0; x < straight.width(); ++x) {
            const QRgb pixel = straight.pixel(x, y);
            const QRgb result = qAlpha(pixel) < 128 ? key : NudgedAwayFrom(pixel, key);
            sheet.setPixel(at.x() + x, at.y() + y, result | 0xFF000000u);
        }
    }
}

QImage KeyedStamp::Layer(int width, int height)
{
    QImage layer(width, height, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    return layer;
}

void KeyedStamp::AvoidKey(QImage& image, QRgb key)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, NudgedAwayFrom(image.pixel(x, y), key) | 0xFF000000u);
}
