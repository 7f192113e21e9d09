#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>

// The sheets are copied with a colour key: a pixel is either the key colour
// (transparent) or opaque. Anti-aliased drawing is made on a transparent layer
// and then stamped onto the sheet, so that no edge pixel is a blend towards the
// key colour (which would show as a coloured fringe).
class KeyedStamp {
public:
    // Edge pixels are blended over matte (the colour the picture will be drawn
    // on); pixels fainter than minAlpha become the key.
    static void OverMatte(QImage& sheet, const QImage& layer, QPoint at, const QImage& matte,
                          QRgb key, int minAlpha);
    static void OverMatte(QImage& sheet, const QImage& layer, QPoint at, QColor matte, QRgb key,
                          int minAlpha);

    // For pictures drawn over unknown ground: at least half-covered pixels take
    // their own colour at full strength, the rest become the key.
    static void Hard(QImage& sheet, const QImage& layer, QPoint at, QRgb key);

    // A transparent layer of the given size to draw on.
    static QImage Layer(int width, int height);

    // Moves every pixel that equals key one step away from it.
    static void AvoidKey(QImage& image, QRgb key);
};
