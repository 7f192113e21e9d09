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

#include <memory>
#include <optional>
#include <utility>
#include <vector>

// A program folder of its own for one test: template/ with the layouts and
// sound.dat, copied from beside the built program.
inline QString FreshProgramFolder(const QString& name)
{
    const QString runtime = QString::fromUtf8(TOVRIK_RUNTIME_DIR);
    QDir folder(QString::fromUtf8(TOVRIK_TEST_TMP) + QStringLiteral("/shell/") + name);
    folder.removeRecursively();
    QDir().mkpath(folder.filePath(QStringLiteral("template")));
    for (const QString& layout : QDir(runtime + QStringLiteral("/template")).entryList(QDir::Files))
        QFile::copy(runtime + QStringLiteral("/template/") + layout, folder.filePath(QStringLiteral("template/") + layout));
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
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<MessageRequest> requests;

private:
    MessageHandler previous_;
};

// The module started as the program starts it, in a folder of its own.
inline std::unique_ptr<ModuleMain> StartModule(const QString& folderName, const QStringList& arguments)
{
    auto module = std::make_unique<ModuleMain>(FreshProgramFolder(folderName), arguments);
    module->Main();
    return module;
}

inline QStringList ClassicGame(int problem = 7)
{
    return {QStringLiteral("--layout"), QStringLiteral("classic.tvm"), QStringLiteral("--problem"),
            QString::number(problem)};
}

inline void PressKey(FormMain& form, int qtKey, bool autoRepeat = false)
{
    QKeyEvent event(QEvent::KeyPress, qtKey, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(&form, &event);
}

inline void ReleaseKey(FormMain& form, int qtKey, bool autoRepeat = false)
{
    QKeyEvent event(QEvent::KeyRelease, qtKey, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(&form, &event);
}

inline void TapKey(FormMain& form, int qtKey)
{
    PressKey(form, qtKey);
    ReleaseKey(form, qtKey);
}

inline void MoveMouse(FormMain& form, double x, double y)
{
    const QPointF at(x, y);
    QMouseEvent event(QEvent::MouseMove, at, form.picMain->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(form.picMain, &event);
}

inline void PressMouse(FormMain& form, Qt::MouseButton button, double x = 0, double y = 0)
{
    const QPointF at(x, y);
    QMouseEvent event(QEvent::MouseButtonPress, at, form.picMain->mapToGlobal(at), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(form.picMain, &event);
}

// A screen point where the controller finds tile id, or none.
inline std::optional<QPoint> PointOnTile(const PaiCtrl& controller, int32_t id)
{
    const PaiStructure& board = controller.Board();
    for (int32_t dy = 25; dy >= 0; --dy)
        for (int32_t dx = 18; dx >= 0; --dx)
            if (controller.GetOnMouseID(board.PaiBltX(id) + dx, board.PaiBltY(id) + dy) == id)
                return QPoint(board.PaiBltX(id) + dx + ModuleMain::kBoardOrigin,
                              board.PaiBltY(id) + dy + ModuleMain::kBoardOrigin);
    return std::nullopt;
}

// Two free tiles of one match class that can be reached with the cursor.
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

inline void ClickTile(FormMain& form, const PaiCtrl& controller, int32_t id)
{
    const QPoint at = PointOnTile(controller, id).value();
    MoveMouse(form, 720, 250); // beside the buttons, so that the move to the tile always counts
    MoveMouse(form, at.x(), at.y());
    PressMouse(form, Qt::LeftButton, at.x(), at.y());
}

inline uint32_t BackPixel(const ModuleMain& module, int32_t x, int32_t y)
{
    return module.Layer().BackSurface()->Pixel(x, y) & 0xFFFFFF;
}
