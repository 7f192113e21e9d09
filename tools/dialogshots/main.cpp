// Shows the side panel and the game-selection dialog on the screen, as the
// game shows them, and saves a grab of each to the given folder; then starts
// the game and grabs the side panel opened over a dealt board, and the
// notices at the end of a game. The language follows the system as the
// game's does; the English grabs are named *-en.png.

#include "FormMain.h"
#include "FormQues.h"
#include "FormSub.h"
#include "Language.h"
#include "ModuleCommands.h"
#include "ModuleMain.h"
#include "Shots.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLocale>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

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
    return GrabArea(window.frameGeometry(), path);
}

// The game as a player sees it after asking for the menu: the panel in the
// screen's corner over the main window.
bool GrabPanelOverGame(const QString& path)
{
    const QString programFolder = QApplication::applicationDirPath();
    ModuleMain module(programFolder, {QStringLiteral("--layout"), QStringLiteral("classic.tvm"),
                                      QStringLiteral("--problem"), QStringLiteral("1")});
    module.Main();
    bool saved = false;
    QTimer::singleShot(0, [&] {
        const QRect area = module.Form().frameGeometry().united(module.SidePanel().frameGeometry());
        saved = GrabArea(area, path);
        module.SidePanel().hide();
    });
    module.ShowOptions();
    return saved;
}

} // namespace

bool GrabArea(const QRect& area, const QString& path)
{
    Settle();
    const QPixmap grab = QApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    return grab.save(path);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The games played here keep their statistics out of the user's folder.
    const QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    if (argc != 2) {
        std::cerr << "usage: tovrik-dialogshots OUT_FOLDER (run under an X server, e.g. xvfb-run -a)\n";
        return 2;
    }
    const UiLanguage language = ChooseLanguage(QLocale::system().uiLanguages(), std::nullopt);
    InstallLanguage(language);
    const QString suffix = language == UiLanguage::Japanese ? QStringLiteral(".png") : QStringLiteral("-en.png");
    const QString outFolder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outFolder);
    SilentModule module;

    FormSub panel(module);
    panel.Initialize(QImage(ButtonSheetPath()));
    panel.SetWallsize(655, 557);
    const bool panelSaved = GrabWindow(panel, outFolder + QStringLiteral("/side-panel") + suffix);
    panel.hide();

    FormQues selection(module, QStringList{QApplication::applicationDirPath() + QStringLiteral("/template")});
    selection.LoadQuestionInfo({QStringLiteral("classic.tvm"), QStringLiteral("0"), QStringLiteral("32"), {}});
    selection.move(0, 0);
    const bool selectionSaved = GrabWindow(selection, outFolder + QStringLiteral("/game-selection") + suffix);

    selection.hide();
    const bool gameSaved = GrabPanelOverGame(outFolder + QStringLiteral("/panel-over-game") + suffix);
    const bool noticesSaved = GrabNotices(outFolder, suffix);

    if (!panelSaved || !selectionSaved || !gameSaved || !noticesSaved) {
        std::cerr << "tovrik-dialogshots: could not write the screenshots to " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
