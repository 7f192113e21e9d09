// Shows the side panel and the game-selection dialog on the screen, as the
// game shows them, and saves a grab of each to the given folder.

#include "FormQues.h"
#include "FormSub.h"
#include "ModuleCommands.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <iostream>

namespace {

// The dialogs only need someone to talk to; nothing is played here.
class SilentModule : public ModuleCommands {
public:
    void StoreQuestionInfo(const QuestionInfo&) override {}
    void StartGame() override {}
    bool PanelCommand(int) override { return false; }
    void ChooseWallpaper() override {}
};

void Settle()
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 300)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool GrabWindow(QWidget& window, const QString& path)
{
    window.show();
    window.raise();
    Settle();
    const QRect area = window.frameGeometry();
    const QPixmap grab = window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    return grab.save(path);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: tovrik-dialogshots OUT_FOLDER (run under an X server, e.g. xvfb-run -a)\n";
        return 2;
    }
    const QString outFolder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outFolder);
    SilentModule module;

    FormSub panel(module);
    panel.Initialize(QImage(QStringLiteral(":/sheets/buttons.png")));
    panel.SetWallsize(655, 557);
    const bool panelSaved = GrabWindow(panel, outFolder + QStringLiteral("/side-panel.png"));
    panel.hide();

    FormQues selection(module, QApplication::applicationDirPath() + QStringLiteral("/template"));
    selection.LoadQuestionInfo({QStringLiteral("classic.tvm"), QStringLiteral("0"), QStringLiteral("32"), {}});
    selection.move(0, 0);
    const bool selectionSaved = GrabWindow(selection, outFolder + QStringLiteral("/game-selection.png"));

    if (!panelSaved || !selectionSaved) {
        std::cerr << "tovrik-dialogshots: could not write the screenshots to " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
