#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where a remembered window may open: no larger than the screen offers (a
// size from the settings file never makes the window, and the pictures behind
// it, larger than the screen), never smaller than the game's picture, and
// back at its remembered place only while the window's centre lies on a screen.
class WindowPlacement {
public:
    // The client size for wanted on a screen whose free area is available.
    static QSize FittedClient(QSize wanted, QSize minimum, QSize frameThickness, const QRect& available);
    // Whether a frame of frameSize at topLeft has its centre on some screen.
    static bool CentreOnAScreen(QPoint topLeft, QSize frameSize);
};
