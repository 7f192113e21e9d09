#pragma once

#include "DX7Draw.h"
#include "FormMain.h"
#include "MessageBox.h"
#include "ModuleMain.h"
#include "PaiCtrl.h"
#include "PaiStructure.h"
#include "PictureBox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

inline QString TestName()
{
    return QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name());
}

// A program folder of its own for one test: the built program's template/
// and sound.dat, copied.
inline QString FreshProgramFolder(const QString& name = TestName())
{
    const QString runtime = QString::fromUtf8(TOVRIK_RUNTIME_DIR);
    QDir folder(QString::fromUtf8(TOVRIK_TEST_TMP) + QStringLiteral("/shell/") + name);
    folder.removeRecursively();
    QDir().mkpath(folder.filePath(QStringLiteral("template")));
    for (const QString& file : QDir(runtime + QStringLiteral("/template")).entryList(QDir::Files))
        QFile::copy(runtime + QStringLiteral("/template/") + file, folder.filePath(QStringLiteral("template/") + file));
    QFile::copy(runtime + QStringLiteral("/sound.dat"), folder.filePath(QStringLiteral("sound.dat")));
    return folder.path();
}

// Answers every message box with its first button and records what was asked.
class MessageRecorder {
public:
    MessageRecorder()
        : previous_(SetMessageHandler([this](const MessageRequest& request) {
              requests.push_back(request);
              return MessageResult::Ok;
          }))
    {
    }
    ~MessageRecorder() { SetMessageHandler(std::move(previous_)); }

    std::vector<MessageRequest> requests;

private:
    MessageHandler previous_;
};

// Without a game on the command line, start-up waits in the side panel:
// close it as the player would, once it is open (timers also run while
// start-up decodes the sounds).
inline void CloseSidePanelWhenOpen(int attemptsLeft = 10000)
{
    QTimer::singleShot(1, [attemptsLeft] {
        if (QWidget* panel = QApplication::activeModalWidget())
            panel->hide();
        else if (attemptsLeft > 0)
            CloseSidePanelWhenOpen(attemptsLeft - 1);
    });
}

inline std::unique_ptr<ModuleMain> StartModule(const QString& folderName, const QStringList& arguments)
{
    if (!CommandLine(arguments).Game())
        CloseSidePanelWhenOpen();
    auto module = std::make_unique<ModuleMain>(FreshProgramFolder(folderName), arguments);
    module->Main();
    return module;
}

inline QStringList ClassicGame(int problem = 7)
{
    return {QStringLiteral("--layout"), QStringLiteral("classic.tvm"), QStringLiteral("--problem"),
            QString::number(problem)};
}

// Key events carry rising timestamps, as the window system's do, unless the
// test gives one.
inline quint64 NextKeyTime()
{
    static quint64 time = 1000;
    return time += 10;
}

inline void SendKey(FormMain& form, QEvent::Type type, int qtKey, bool autoRepeat = false,
                    quint64 timestamp = NextKeyTime())
{
    QKeyEvent event(type, qtKey, Qt::NoModifier, QString(), autoRepeat);
    event.setTimestamp(timestamp);
    QApplication::sendEvent(&form, &event);
}

inline void TapKey(FormMain& form, int qtKey)
{
    SendKey(form, QEvent::KeyPress, qtKey);
    SendKey(form, QEvent::KeyRelease, qtKey);
}

inline void SendMouse(FormMain& form, QEvent::Type type, double x, double y, Qt::MouseButton button = Qt::NoButton)
{
    QMouseEvent event(type, QPointF(x, y), form.picMain->mapToGlobal(QPointF(x, y)), button, button, Qt::NoModifier);
    QApplication::sendEvent(form.picMain, &event);
}

inline void MoveMouse(FormMain& form, double x, double y) { SendMouse(form, QEvent::MouseMove, x, y); }

inline QPoint Cursor(const FormMain& form) { return {form.CursorX, form.CursorY}; }

// A screen point where the controller finds tile id, or none.
inline std::optional<QPoint> PointOnTile(const PaiCtrl& controller, int32_t id)
{
    const PaiStructure& board = controller.Board();
    for (int32_t dy = 25; dy >= 0; --dy)
        for (int32_t dx = 18; dx >= 0; --dx)
            if (controller.GetOnMouseID(board.PaiBltX(id) + dx, board.PaiBltY(id) + dy) == id)
                return QPoint(board.PaiBltX(id) + dx + 4, board.PaiBltY(id) + dy + 4);
    return std::nullopt;
}

// Two free tiles of one match class that the cursor can reach.
inline std::pair<int32_t, int32_t> FreePair(const PaiCtrl& controller)
{
    const PaiStructure& board = controller.Board();
    for (int32_t a = 0; a < board.MaxID(); ++a)
        for (int32_t b = a + 1; b < board.MaxID(); ++b)
            if (board.Validity(a) && board.Validity(b) && board.Selectable(a) && board.Selectable(b) &&
                board.Group(a) == board.Group(b) && PointOnTile(controller, a) && PointOnTile(controller, b))
                return {a, b};
    return {-1, -1};
}

// Puts the cursor on the tile (by way of the bar, so that the move counts).
inline void PutCursorOn(FormMain& form, const PaiCtrl& controller, int32_t id)
{
    const QPoint at = PointOnTile(controller, id).value();
    MoveMouse(form, 720, 250);
    MoveMouse(form, at.x(), at.y());
}

inline void ClickTile(FormMain& form, const PaiCtrl& controller, int32_t id)
{
    PutCursorOn(form, controller, id);
    SendMouse(form, QEvent::MouseButtonPress, form.CursorX, form.CursorY, Qt::LeftButton);
}

inline uint32_t BackPixel(const ModuleMain& module, int32_t x, int32_t y)
{
    return module.Layer().BackSurface()->Pixel(x, y) & 0xFFFFFF;
}
