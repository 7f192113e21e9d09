#pragma once

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <functional>

class QWidget;

// Qt drops the window manager's close request for a window that a modal
// window blocks, so the game window's close button would do nothing while the
// side panel or a dialog is open. This filter sees that request on X11 before
// Qt drops it and hands it to onBlockedClose instead.
class WindowCloseFilter : public QAbstractNativeEventFilter {
public:
    struct Atoms {
        uint32_t protocols = 0;
        uint32_t deleteWindow = 0;
    };

    // Looks the atoms up on the X connection; without one, the filter does nothing.
    WindowCloseFilter(const QWidget& window, std::function<void()> onBlockedClose);
    WindowCloseFilter(const QWidget& window, Atoms atoms, std::function<void()> onBlockedClose);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    static Atoms AtomsOfTheDisplay();

    const QWidget& window;
    Atoms atoms;
    std::function<void()> onBlockedClose;
};
