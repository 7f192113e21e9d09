#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class FormMain;
class Settings;

// Where the main window stands: shown again at the size, place and state
// (maximised, full screen) the player left it in, and each change remembered.
// A size from the settings file never makes the window, and the pictures
// behind it, larger than the screen offers, nor smaller than the game's
// picture; a remembered place is used only while the window's centre lies on
// a screen.
class WindowPlacement {
public:
    WindowPlacement(FormMain& window, Settings& settings);

    void ShowAsLeft();
    void RememberPlace(QPoint topLeft);
    void RememberShape();

    // The client size for wanted on a screen whose free area is available.
    static QSize FittedClient(QSize wanted, QSize minimum, QSize frameThickness, const QRect& available);
    // Whether a frame of frameSize at topLeft has its centre on some screen.
    static bool CentreOnAScreen(QPoint topLeft, QSize frameSize);

private:
    void RestorePosition();

    FormMain& window;
    Settings& settings;
};
