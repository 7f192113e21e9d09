#pragma once

#include "ShortcutTable.h"

#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class PictureBox;
class WindowCloseFilter;

// The main window: the game's picture, shown at the largest whole-number scale
// that the window's size allows (it can be resized, maximised and made full
// screen, never smaller than the picture). It turns keys and mouse events into
// cursor moves and commands, given out as signals; the game's own cursor
// replaces the system pointer over the picture.
class FormMain : public QWidget {
    Q_OBJECT

public:
    // Virtual-key codes of the keys the window acts on.
    enum KeyCode : int32_t {
        KEY_BACK = 8,
        KEY_RETURN = 13,
        KEY_ESCAPE = 27,
        KEY_LEFT = 37,
        KEY_UP = 38,
        KEY_RIGHT = 39,
        KEY_DOWN = 40,
        KEY_H = 72,
        KEY_Q = 81,
        KEY_X = 88,
        KEY_Z = 90,
        KEY_F11 = 122,
    };
    static constexpr int32_t kMaxKeyRepeat = 10;
    // How long a key release waits for the press that would make it half of
    // a repeat, in milliseconds.
    static constexpr int kReleaseSettleMs = 30;
    static constexpr int32_t kMouseThreshold = 2;

    FormMain();
    ~FormMain() override;

    // Marks the module busy in a handler or in start-up: a close asked for
    // meanwhile waits until the work is done, so that shutdown never pulls
    // the objects away from under it.
    class BusyScope {
    public:
        explicit BusyScope(FormMain& form);
        ~BusyScope();
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        FormMain& form;
    };

    void FormInitialize(int32_t w, int32_t h);
    void FitWindow();
    // Gives the window a client area of client (never below the smallest
    // size) and centres it on the screen.
    void ResizeCentred(QSize client);

    // The outer rectangle that gives the window a client area of client with
    // the given frame thickness, centred on screen (halves toward zero).
    static QRect FittedFrame(QSize client, QSize frameThickness, const QRect& screen);
    // The platform's virtual-key code of a Qt key, 0 for keys without one.
    static int32_t VirtualKeyCode(int qtKey);

    // Runs a handler's work as busy; an error ends the work, not the program,
    // and is shown to the player with its reason.
    void Guarded(const std::function<void()>& work);
    // Asked before the window closes; false keeps it open.
    void SetCloseCheck(std::function<bool()> mayClose);
    // The close button was pressed while the side panel or a dialog is open:
    // those close first, then the window, with the usual question.
    void CloseOverModalWindows();

    void KeyDown(int32_t keyCode);
    // A shortcut acts once per press, as the command keys do.
    void ShortcutDown(ShortcutTable::Command command);
    void KeyUp();
    // Ends the hold for a release that no press of the same key and
    // timestamp followed; the settle timer calls it.
    void SettleKeyRelease();
    // Positions in picMain's pixels; only those on the picture act.
    void MouseMove(QPointF position);
    void MouseDown(Qt::MouseButton button, QPointF position);
    void ToggleFullScreen();
    void MoveCursor(int32_t x, int32_t y);
    void ClickCursor(int32_t x, int32_t y);

    // Where the game's picture is shown.
    PictureBox& Picture() const { return *picMain; }
    // The window's cursor, in the picture's pixels.
    QPoint Cursor() const { return {CursorX, CursorY}; }
    bool KeyHeld() const { return keyHeld; }
    // While paused the next key or click only asks to go on.
    void SetPaused(bool on) { paused = on; }

signals:
    void CursorMoved(int32_t x, int32_t y);
    void Clicked(int32_t x, int32_t y);
    void CancelAsked();
    void HintAsked();
    void PlaybackAsked();
    void MenuAsked();
    void ShortcutPressed(ShortcutTable::Command command);
    void ResumeAsked();
    void Moved(QPoint topLeft);
    // The size, maximised or full-screen state changed.
    void Reshaped();
    // The window is closing, the player agreeing.
    void Closing();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ActOnKey(int32_t keyCode, int32_t repeat, bool held);

    // A release held back because it may be the first half of a repeat.
    struct PendingRelease {
        bool pending = false;
        int key = 0;
        quint64 timestamp = 0;
    };

    PictureBox* picMain = nullptr;
    int32_t ClientW = 0;
    int32_t ClientH = 0;
    int32_t LastMouseX = 0;
    int32_t LastMouseY = 0;
    int32_t CursorX = 0;
    int32_t CursorY = 0;
    int32_t KeyRepeat = 0;
    bool keyHeld = false;
    bool paused = false;
    std::function<bool()> mayClose;
    std::unique_ptr<WindowCloseFilter> closeFilter;
    PendingRelease pendingRelease;
    QTimer releaseSettle;
    int32_t busyDepth = 0;
    bool closePending = false;
};
