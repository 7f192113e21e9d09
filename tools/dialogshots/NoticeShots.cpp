#include "EndOfGame.h"
#include "FormMain.h"
#include "MessageBox.h"
#include "ModuleMain.h"
#include "PaiCtrl.h"
#include "PaiStructure.h"
#include "PositionWatcher.h"
#include "Shots.h"
#include "WindowMessageBox.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <map>
#include <optional>

namespace {

// Playing the first free pair each time, this deal is lost early and ends
// without a set to take.
constexpr int kGreedyLosesProblem = 4;

QStringList Game(int problem)
{
    return {QStringLiteral("--layout"), QStringLiteral("classic.tvm"), QStringLiteral("--problem"),
            QString::number(problem)};
}

// A screen point where the controller finds the tile.
std::optional<QPoint> PointOnTile(const PaiCtrl& controller, int32_t id)
{
    const PaiStructure& board = controller.Board();
    for (int32_t dy = 25; dy >= 0; --dy)
        for (int32_t dx = 18; dx >= 0; --dx)
            if (controller.GetOnMouseID(board.PaiBltX(id) + dx, board.PaiBltY(id) + dy) == id)
                return QPoint(board.PaiBltX(id) + dx + ModuleMain::kBoardOrigin,
                              board.PaiBltY(id) + dy + ModuleMain::kBoardOrigin);
    return std::nullopt;
}

void Click(ModuleMain& module, int32_t id)
{
    const QPoint at = PointOnTile(module.Controller(), id).value();
    module.Form().MoveCursor(at.x(), at.y());
    module.Play().ClickAt(at.x(), at.y());
}

bool TakeFirstPair(ModuleMain& module)
{
    const PaiStructure& board = module.Controller().Board();
    for (int32_t a = 0; a < board.MaxID(); ++a)
        for (int32_t b = a + 1; b < board.MaxID(); ++b)
            if (board.Validity(a) && board.Validity(b) && board.Selectable(a) && board.Selectable(b) &&
                board.Group(a) == board.Group(b) && PointOnTile(module.Controller(), a) &&
                PointOnTile(module.Controller(), b)) {
                Click(module, a);
                Click(module, b);
                return true;
            }
    return false;
}

// Shows every box in its window, grabs it over the game window when its
// title is wanted, and dismisses it.
class NoticeGrabber {
public:
    NoticeGrabber(const QString& outFolder, const ModuleMain*& module) : outFolder_(outFolder), module_(module)
    {
        SetMessageHandler([this](const MessageRequest& request) { return Show(request); });
    }
    ~NoticeGrabber() { SetMessageHandler({}); }

    void Want(const std::string& title, const QString& file) { wanted_[title] = file; }
    bool AllSaved() const { return saved_ == 3; }

private:
    MessageResult Show(const MessageRequest& request)
    {
        const auto wanted = wanted_.find(request.title);
        if (wanted != wanted_.end()) {
            const QString path = outFolder_ + u'/' + wanted->second;
            wanted_.erase(wanted);
            QTimer::singleShot(0, [this, path] {
                auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                if (!box)
                    return;
                const QRect area = module_->Form().frameGeometry().united(box->frameGeometry());
                saved_ += GrabArea(area, path) ? 1 : 0;
                box->reject();
            });
        } else {
            QTimer::singleShot(0, [] {
                if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                    box->reject();
            });
        }
        return ShowWindowMessageBox(request);
    }

    QString outFolder_;
    const ModuleMain*& module_;
    std::map<std::string, QString> wanted_;
    int saved_ = 0;
};

} // namespace

bool GrabNotices(const QString& outFolder, const QString& suffix)
{
    const QString programFolder = QApplication::applicationDirPath();
    const ModuleMain* current = nullptr;
    NoticeGrabber grabber(outFolder, current);
    // The notices' titles in the language of the session.
    const auto title = [](const char* text) { return QCoreApplication::translate("EndOfGame", text).toStdString(); };
    grabber.Want(title("解けない局面"), QStringLiteral("lost-move") + suffix);
    grabber.Want(title("手詰まり"), QStringLiteral("dead-end") + suffix);
    grabber.Want(title("クリア"), QStringLiteral("win") + suffix);

    {
        ModuleMain module(programFolder, Game(kGreedyLosesProblem));
        current = &module;
        module.Main();
        module.PanelCommand(ModuleMain::PANEL_AUTOHINT_ON);
        while (TakeFirstPair(module)) {
            module.Ending().Watcher().WaitUntilIdle();
            QCoreApplication::processEvents();
        }
    }
    ModuleMain module(programFolder, Game(1));
    current = &module;
    module.Main();
    // A game of a little over twelve minutes with a hint and a move taken back.
    int64_t now = 0;
    module.Ending().UseClock([&now] { return now; });
    QEvent activation(QEvent::WindowActivate);
    QApplication::sendEvent(&module.Form(), &activation);
    const std::vector<int32_t> answer = module.Controller().Board().RemovalOrder();
    for (size_t k = 0; k < answer.size(); ++k) {
        if (k == 40) {
            module.Play().CommandHint();
            module.Play().CommandPlayback();
            Click(module, answer[k - 2]);
            Click(module, answer[k - 1]);
        }
        now = static_cast<int64_t>(k) * 5'243;
        Click(module, answer[k]);
    }
    // The win is told once the clear animation has run.
    while (module.Animating())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return grabber.AllSaved();
}
