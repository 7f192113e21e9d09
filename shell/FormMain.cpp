#include "FormMain.h"

#include "GuardedWork.h"
#include "Language.h"
#include "PictureBox.h"
#include "WindowCloseFilter.h"

#include <QApplication>
#include <QFont>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

constexpr int32_t kCursorMargin = 8;
constexpr int32_t kCursorRightReserve = 20;
constexpr int32_t kCursorBottomReserve = 22;

QFont WindowFont()
{
    QFont font;
    font.setFamilies(TextFontFamilies());
    font.setPointSize(9);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

FormMain::FormMain()
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                           Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Tovrik"));
    setFont(WindowFont());
    setFocusPolicy(Qt::StrongFocus);
    picMain = new PictureBox(this);
    picMain->setFocusPolicy(Qt::NoFocus);
    picMain->setMouseTracking(true);
    picMain->setCursor(Qt::BlankCursor);
    picMain->installEventFilter(this);
    releaseSettle.setSingleShot(true);
    releaseSettle.setInterval(kReleaseSettleMs);
    connect(&releaseSettle, &QTimer::timeout, this, &FormMain::SettleKeyRelease);
}

FormMain::~FormMain() = default;

void FormMain::FormInitialize(int32_t w, int32_t h)
{
    closeFilter = std::make_unique<WindowCloseFilter>(*this, [this] { CloseOverModalWindows(); });
    QCoreApplication::instance()->installNativeEventFilter(closeFilter.get());
    ClientW = w;
    ClientH = h;
    setMinimumSize(w, h);
    FitWindow();
    picMain->setGeometry(0, 0, w, h);
}

void FormMain::FitWindow()
{
    ResizeCentred(QSize(ClientW, ClientH));
}

void FormMain::ResizeCentred(QSize client)
{
    const QSize thickness = frameGeometry().size() - geometry().size();
    const QRect frame = FittedFrame(client.expandedTo(minimumSize()), thickness, screen()->geometry());
    resize(frame.size() - thickness);
    move(frame.topLeft());
}

QRect FormMain::FittedFrame(QSize client, QSize frameThickness, const QRect& screen)
{
    const QSize outer = client + frameThickness;
    const int left = (screen.width() - outer.width()) / 2;
    const int top = (screen.height() - outer.height()) / 2;
    return QRect(QPoint(screen.left() + left, screen.top() + top), outer);
}

int32_t FormMain::VirtualKeyCode(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Backspace: return KEY_BACK;
    case Qt::Key_Return:
    case Qt::Key_Enter: return KEY_RETURN;
    case Qt::Key_Escape: return KEY_ESCAPE;
    case Qt::Key_Left: return KEY_LEFT;
    case Qt::Key_Up: return KEY_UP;
    case Qt::Key_Right: return KEY_RIGHT;
    case Qt::Key_Down: return KEY_DOWN;
    case Qt::Key_F11: return KEY_F11;
    default: break;
    }
    // Letters and digits carry their virtual-key codes as Qt key values.
    const bool letter = qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z;
    const bool digit = qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9;
    return letter || digit ? qtKey : 0;
}

void FormMain::KeyDown(int32_t keyCode)
{
    // Counted before acting: a key-up handled inside the action (during the
    // clear animation's wait) must not be undone afterwards.
    const int32_t repeat = KeyRepeat;
    const bool held = keyHeld;
    KeyRepeat = std::min(KeyRepeat + 1, kMaxKeyRepeat);
    keyHeld = true;
    ActOnKey(keyCode, repeat, held);
}

void FormMain::ActOnKey(int32_t keyCode, int32_t repeat, bool held)
{
    const int32_t sideways = 2 * repeat + 9;
    const int32_t upright = 2 * repeat + 10;
    switch (keyCode) {
    case KEY_LEFT: MoveCursor(CursorX - sideways, CursorY); return;
    case KEY_UP: MoveCursor(CursorX, CursorY - upright); return;
    case KEY_RIGHT: MoveCursor(CursorX + sideways, CursorY); return;
    case KEY_DOWN: MoveCursor(CursorX, CursorY + upright); return;
    default: break;
    }
    if (held)
        return;
    switch (keyCode) {
    case KEY_H: emit HintAsked(); break;
    case KEY_BACK: emit PlaybackAsked(); break;
    case KEY_RETURN:
    case KEY_X: ClickCursor(CursorX, CursorY); break;
    case KEY_ESCAPE:
    case KEY_Z: emit CancelAsked(); break;
    case KEY_Q: emit MenuAsked(); break;
    case KEY_F11: ToggleFullScreen(); break;
    default: break;
    }
}

void FormMain::ShortcutDown(ShortcutTable::Command command)
{
    const bool held = keyHeld;
    KeyRepeat = 0;
    keyHeld = true;
    if (!held)
        emit ShortcutPressed(command);
}

void FormMain::KeyUp()
{
    KeyRepeat = 0;
    keyHeld = false;
}

void FormMain::MouseMove(QPointF position)
{
    // Around the picture the pointer is off the game, as outside the window:
    // the system pointer shows there and the game cursor stays.
    const std::optional<QPoint> at = picMain->PictureAt(position);
    const Qt::CursorShape pointer = at ? Qt::BlankCursor : Qt::ArrowCursor;
    if (picMain->cursor().shape() != pointer)
        picMain->setCursor(pointer);
    if (!at)
        return;
    if (std::abs(LastMouseY - at->y()) > kMouseThreshold || std::abs(LastMouseX - at->x()) > kMouseThreshold) {
        LastMouseX = at->x();
        LastMouseY = at->y();
        MoveCursor(at->x(), at->y());
    }
}

void FormMain::MouseDown(Qt::MouseButton button, QPointF position)
{
    if (!picMain->PictureAt(position))
        return;
    if (paused) {
        emit ResumeAsked();
        return;
    }
    if (button == Qt::LeftButton)
        ClickCursor(CursorX, CursorY);
    else
        emit CancelAsked();
}

void FormMain::MoveCursor(int32_t x, int32_t y)
{
    CursorX = std::min(std::max(x, kCursorMargin), ClientW - kCursorRightReserve);
    CursorY = std::min(std::max(y, kCursorMargin), ClientH - kCursorBottomReserve);
    emit CursorMoved(CursorX, CursorY);
}

void FormMain::ClickCursor(int32_t x, int32_t y)
{
    emit Clicked(x, y);
}

void FormMain::SettleKeyRelease()
{
    releaseSettle.stop();
    if (!pendingRelease.pending)
        return;
    pendingRelease.pending = false;
    KeyUp();
}

void FormMain::keyPressEvent(QKeyEvent* event)
{
    // Ctrl and Shift only qualify the key that follows.
    if (ShortcutTable::IsModifier(event->key()))
        return;
    // Events made without a time (0) are never taken for halves of one repeat.
    const bool secondHalfOfRepeat = pendingRelease.pending && pendingRelease.key == event->key()
        && pendingRelease.timestamp == event->timestamp() && event->timestamp() != 0;
    if (secondHalfOfRepeat)
        pendingRelease.pending = false;
    SettleKeyRelease();
    if (paused) {
        // The key that resumes does nothing else.
        keyHeld = true;
        Guarded([&] { emit ResumeAsked(); });
        return;
    }
    const std::optional<ShortcutTable::Command> shortcut = ShortcutTable::Find(event->key(), event->modifiers());
    if (shortcut)
        Guarded([&] { ShortcutDown(*shortcut); });
    else if (!event->modifiers().testFlag(Qt::ControlModifier))
        Guarded([&] { KeyDown(VirtualKeyCode(event->key())); });
}

// The window system repeats a held key as release and press pairs with one
// timestamp, and Qt flags them only when it already holds the press. So a
// release waits: a press of the same key and timestamp makes it part of the
// hold; anything else, or the settle time passing, ends the hold.
void FormMain::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat() || ShortcutTable::IsModifier(event->key()))
        return;
    SettleKeyRelease();
    pendingRelease = {true, event->key(), event->timestamp()};
    releaseSettle.start();
}

void FormMain::ToggleFullScreen()
{
    // Maximised stays set underneath, so leaving full screen returns to it.
    setWindowState(windowState() ^ Qt::WindowFullScreen);
}

void FormMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    picMain->setGeometry(rect());
    emit Reshaped();
}

void FormMain::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // Keys let go while another window had the keyboard never report here.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        pendingRelease.pending = false;
        releaseSettle.stop();
        KeyUp();
    }
    if (event->type() == QEvent::WindowStateChange)
        emit Reshaped();
}

void FormMain::closeEvent(QCloseEvent* event)
{
    if (busyDepth > 0) {
        closePending = true;
        event->ignore();
        return;
    }
    if (mayClose && !mayClose()) {
        event->ignore();
        return;
    }
    emit Closing();
    QWidget::closeEvent(event);
}

void FormMain::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    emit Moved(pos());
}

bool FormMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != picMain)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove: {
        const QPointF position = static_cast<QMouseEvent*>(event)->position();
        Guarded([&] { MouseMove(position); });
        return true;
    }
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        Guarded([&] { MouseDown(mouse->button(), mouse->position()); });
        return true;
    }
    // The second press of a double click comes as this event alone; it is
    // not acted on.
    case QEvent::MouseButtonDblClick: return true;
    default: return QWidget::eventFilter(watched, event);
    }
}

FormMain::BusyScope::BusyScope(FormMain& form) : form(form)
{
    ++form.busyDepth;
}

FormMain::BusyScope::~BusyScope()
{
    if (--form.busyDepth == 0 && std::exchange(form.closePending, false))
        form.close();
}

void FormMain::Guarded(const std::function<void()>& work)
{
    const BusyScope busy(*this);
    RunGuarded(work);
}

void FormMain::SetCloseCheck(std::function<bool()> check)
{
    mayClose = std::move(check);
}

void FormMain::CloseOverModalWindows()
{
    while (QWidget* modal = QApplication::activeModalWidget())
        if (!modal->close())
            return;
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}
