// Shows the side panel and the game-selection dialog on the screen, as the
// game shows them, and saves a grab of each to the given folder; then starts
// the game and grabs the side panel opened over a dealt board, and the
// notices at the end of a game, and the layout editor. The language follows the system as the
// game's does; the English grabs are named *-en.png.

#include "EditorBoard.h"
#include "FormMain.h"
#include "FormQues.h"
#include "FormSub.h"
#include "Language.h"
#include "LayoutEditor.h"
#include "ModuleCommands.h"
#include "ModuleMain.h"
#include "Shots.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
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
    void EditLayout(const QString&, std::function<void(const QString&)>) override {}
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

// The layout editor on the classic layout, working on its third level, the
// pointer over a spot where a tile may go.
bool GrabEditor(const QString& path)
{
    const QString shipped = QApplication::applicationDirPath() + QStringLiteral("/template");
    const QTemporaryDir player;
    LayoutEditor editor({shipped, player.path()}, shipped + QStringLiteral("/classic.tvm"));
    editor.resize(1100, 640);
    editor.move(0, 0);
    editor.show();
    editor.SetMessageText(QCoreApplication::translate("LayoutEditor", "新しい陣形"));
    for (int step = 0; step < 2; ++step) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier);
        QApplication::sendEvent(&editor, &key);
    }
    Settle();
    LayoutDraft::Tile spot{2, 0, 0};
    while (editor.Draft().CanPlace(spot) != LayoutDraft::Verdict::Allowed && spot.row < 22)
        spot = spot.column < 35 ? LayoutDraft::Tile{2, spot.column + 1, spot.row} : LayoutDraft::Tile{2, 0, spot.row + 1};
    const QPointF at = editor.Board().TileCentre(spot.column, spot.row);
    QMouseEvent move(QEvent::MouseMove, at, editor.Board().mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&editor.Board(), &move);
    editor.WaitForChecks();
    return GrabArea(editor.frameGeometry(), path);
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
    const bool editorSaved = GrabEditor(outFolder + QStringLiteral("/layout-editor") + suffix);

    if (!panelSaved || !selectionSaved || !gameSaved || !noticesSaved || !editorSaved) {
        std::cerr << "tovrik-dialogshots: could not write the screenshots to " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
