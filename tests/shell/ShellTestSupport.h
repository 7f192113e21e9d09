#pragma once

#include "DX7Draw.h"
#include "FileConv.h"
#include "FormMain.h"
#include "MessageBox.h"
#include "ModuleMain.h"
#include "PaiCtrl.h"
#include "PaiStructure.h"
#include "PictureBox.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
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

// Hides the next modal window once it opens and notes its class in seen
// (timers also run while start-up decodes the sounds).
inline void HideModalWhenOpen(std::shared_ptr<QString> seen = std::make_shared<QString>(), int attemptsLeft = 10000)
{
    QTimer::singleShot(1, [seen, attemptsLeft] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            *seen = QString::fromUtf8(modal->metaObject()->className());
            modal->hide();
        } else if (attemptsLeft > 0) {
            HideModalWhenOpen(seen, attemptsLeft - 1);
        }
    });
}

// Without a game on the command line, start-up waits in the side panel:
// close it as the player would, once it is open.
inline void CloseSidePanelWhenOpen()
{
    HideModalWhenOpen();
}

inline std::unique_ptr<ModuleMain> StartModule(const QString& folderName, const QStringList& arguments)
{
    if (!CommandLine(arguments).Game())
        CloseSidePanelWhenOpen();
    auto module = std::make_unique<ModuleMain>(FreshProgramFolder(folderName), arguments);
    module->Main();
    return module;
}

// The clear animation runs on a timer: lets it play out, for ten seconds at most.
inline void FinishClearAnimation(const ModuleMain& module)
{
    QElapsedTimer clock;
    clock.start();
    while (module.Animating() && clock.elapsed() < 10'000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
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
    QMouseEvent event(type, QPointF(x, y), form.Picture().mapToGlobal(QPointF(x, y)), button, button, Qt::NoModifier);
    QApplication::sendEvent(&form.Picture(), &event);
}

inline void MoveMouse(FormMain& form, double x, double y) { SendMouse(form, QEvent::MouseMove, x, y); }

inline QPoint Cursor(const FormMain& form) { return form.Cursor(); }

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
    SendMouse(form, QEvent::MouseButtonPress, form.Cursor().x(), form.Cursor().y(), Qt::LeftButton);
}

inline uint32_t BackPixel(const ModuleMain& module, int32_t x, int32_t y)
{
    return module.Layer().BackSurface()->Pixel(x, y) & 0xFFFFFF;
}

// The slots that answer.txt names, in its order: each line gives a tile's layer,
// x = column − 17 and y = 10 − row; slot numbers follow the layout's positions.
inline std::vector<int32_t> AnswerSlots(const QString& folder)
{
    FileConv layout;
    layout.LoadFile((folder + QStringLiteral("/template/classic.tvm")).toStdString());
    const std::vector<uint16_t> positions = layout.GetPositionArray();

    QFile answer(folder + QStringLiteral("/answer.txt"));
    answer.open(QIODevice::ReadOnly);
    std::vector<int32_t> answerSlots;
    for (const QByteArray& line : answer.readAll().split('\n')) {
        if (line.size() < 12)
            continue;
        const int layer = line[0] - '1';
        const int column = line.mid(4, 3).trimmed().toInt() + 17;
        const int row = 10 - line.mid(9, 3).trimmed().toInt();
        answerSlots.push_back(int32_t(std::ranges::find(positions, layer * 2048 + column * 32 + row) - positions.begin()));
    }
    return answerSlots;
}

// The picture as the player sees it: each picture pixel a scale × scale block
// of picMain, the first at origin.
struct ShownPicture {
    int32_t scale = 1;
    QPoint origin;

    // A point of picMain inside the block of a picture pixel: within (0 to
    // scale − 1) steps into the block along both axes.
    QPointF At(QPoint picture, int32_t within = 0) const
    {
        return QPointF(origin + picture * scale + QPoint(within, within));
    }
};

// Clicks the tiles by mouse as the player would: through the bar (so that the
// move passes the threshold), onto the tile, press.
inline void PlayByMouse(FormMain& form, const PaiCtrl& controller, const ShownPicture& shown,
                        const std::vector<int32_t>& tiles)
{
    for (size_t i = 0; i < tiles.size(); ++i) {
        const QPointF at = shown.At(PointOnTile(controller, tiles[i]).value(), int32_t(i) % shown.scale);
        const QPointF bar = shown.At({720, 250});
        SendMouse(form, QEvent::MouseMove, bar.x(), bar.y());
        SendMouse(form, QEvent::MouseMove, at.x(), at.y());
        SendMouse(form, QEvent::MouseButtonPress, at.x(), at.y(), Qt::LeftButton);
    }
}

// Every picture pixel shown as its exact block, and the margins in the backdrop colour.
inline int64_t WronglyShownPixels(const ModuleMain& module, const ShownPicture& shown)
{
    const QImage grabbed = module.Form().Picture().grab().toImage();
    const QRect picture(shown.origin, QSize(792, 566) * shown.scale);
    int64_t wrong = 0;
    for (int y = 0; y < grabbed.height(); ++y)
        for (int x = 0; x < grabbed.width(); ++x) {
            const int32_t sourceX = (x - shown.origin.x()) / shown.scale;
            const int32_t sourceY = (y - shown.origin.y()) / shown.scale;
            const uint32_t expected = picture.contains(x, y) ? BackPixel(module, sourceX, sourceY) : 0x3399FFu;
            wrong += (grabbed.pixel(x, y) & 0xFFFFFF) != expected;
        }
    return wrong;
}
