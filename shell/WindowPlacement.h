#pragma once

#include <QPoint>
#include <QSize>

class FormMain;
class Settings;

// Where the main window stands: shown again at the size, place and state
// (maximised, full screen) the player left it in, and each change remembered.
class WindowPlacement {
public:
    // pictureSize is the window's own client size, whose centre must lie on
    // a screen for a remembered place to be used.
    WindowPlacement(FormMain& window, Settings& settings, QSize pictureSize);

    void ShowAsLeft();
    void RememberPlace(QPoint topLeft);
    void RememberShape();

private:
    void RestorePosition();

    FormMain& window;
    Settings& settings;
    QSize pictureSize;
};
