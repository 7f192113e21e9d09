#pragma once

#include <QImage>
#include <QRect>

// The button-bar sheet: cursor, digits, counter caption and unit, the three
// button faces, the labels of the bar's buttons and of the side panel's eight
// items, and the panel's on and off indicators. Pure red marks transparent pixels.
class ButtonSheet {
public:
    // The language of the labels, caption and unit; every other region is the same in both.
    enum class Labels { Japanese, English };

    static constexpr int Width = 221;
    static constexpr int Height = 302;
    static constexpr QRgb Key = 0xFFFF0000;

    // The sheet drawn at scale, each region at its 1× edges times scale, rounded.
    static QImage Build(Labels labels = Labels::Japanese, double scale = 1.0);

    static QRect CursorRect();
    static QRect DigitRect(int digit);
    static QRect CaptionRect();
    static QRect UnitRect();
    static QRect FaceRect(int mode);       // 0 normal, 1 focus, 2 pressed
    static QRect BarLabelRect(int button);  // 1 options, 2 hint, 3 playback
    static QRect PanelLabelRect(int item);  // 0-7
    static QRect IndicatorRect(bool on);
};
