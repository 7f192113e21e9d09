#include "WindowPlacement.h"

#include "FormMain.h"
#include "Settings.h"

#include <QGuiApplication>

WindowPlacement::WindowPlacement(FormMain& window, Settings& settings, QSize pictureSize)
    : window(window), settings(settings), pictureSize(pictureSize)
{
}

// At the size the player left it, maximised or full screen again if it was.
void WindowPlacement::ShowAsLeft()
{
    const Settings::WindowShape shape = settings.LastWindowShape();
    if (shape.size)
        window.ResizeCentred(*shape.size);
    window.show();
    RestorePosition();
    Qt::WindowStates states = window.windowState();
    states.setFlag(Qt::WindowMaximized, shape.maximised);
    states.setFlag(Qt::WindowFullScreen, shape.fullScreen);
    window.setWindowState(states);
}

// Back where the player left the window, unless no screen shows that place
// any more; otherwise it stays centred.
void WindowPlacement::RestorePosition()
{
    const std::optional<QPoint> position = settings.WindowPosition();
    const QPoint centre(pictureSize.width() / 2, pictureSize.height() / 2);
    if (position && QGuiApplication::screenAt(*position + centre))
        window.move(*position);
}

void WindowPlacement::RememberPlace(QPoint topLeft)
{
    // A maximised or full-screen window's place is the screen's, not the player's.
    if (window.isVisible() && !window.isMaximized() && !window.isFullScreen())
        settings.SetWindowPosition(topLeft);
}

void WindowPlacement::RememberShape()
{
    if (!window.isVisible())
        return;
    Settings::WindowShape shape = settings.LastWindowShape();
    shape.maximised = window.isMaximized();
    shape.fullScreen = window.isFullScreen();
    // The size to come back to is the plain window's.
    if (!shape.maximised && !shape.fullScreen && !window.isMinimized())
        shape.size = window.size();
    settings.SetLastWindowShape(shape);
}
