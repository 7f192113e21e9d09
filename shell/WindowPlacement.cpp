#include "WindowPlacement.h"

#include "FormMain.h"
#include "Settings.h"

#include <QGuiApplication>
#include <QScreen>

WindowPlacement::WindowPlacement(FormMain& window, Settings& settings)
    : window(window), settings(settings)
{
}

// At the size the player left it, maximised or full screen again if it was.
void WindowPlacement::ShowAsLeft()
{
    const Settings::WindowShape shape = settings.LastWindowShape();
    if (shape.size)
        window.ResizeCentred(FittedClient(*shape.size, window.minimumSize(),
                                          window.frameGeometry().size() - window.size(),
                                          window.screen()->availableGeometry()));
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
    if (position && CentreOnAScreen(*position, window.frameGeometry().size()))
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

QSize WindowPlacement::FittedClient(QSize wanted, QSize minimum, QSize frameThickness, const QRect& available)
{
    return wanted.boundedTo(available.size() - frameThickness).expandedTo(minimum);
}

bool WindowPlacement::CentreOnAScreen(QPoint topLeft, QSize frameSize)
{
    return QGuiApplication::screenAt(topLeft + QPoint(frameSize.width() / 2, frameSize.height() / 2)) != nullptr;
}
