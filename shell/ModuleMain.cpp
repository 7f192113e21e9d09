#include "ModuleMain.h"

#include "CurrentGame.h"
#include "EditorStart.h"
#include "EndOfGame.h"
#include "FormMain.h"
#include "FormQues.h"
#include "FormSub.h"
#include "Language.h"
#include "MessageBox.h"
#include "NumberedError.h"
#include "PaiCtrl.h"
#include "PictureBox.h"
#include "QuotedText.h"
#include "Settings.h"
#include "SolverJudge.h"
#include "StartupChecks.h"
#include "Wallpaper.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QCoreApplication>

namespace {

// Timer resolution is fine-grained on Linux already; the calls keep their
// places in start-up and shutdown.
void TimeBeginPeriod() {}
void TimeEndPeriod() {}

} // namespace

ModuleMain::ModuleMain(const QString& programFolder, const QStringList& arguments)
    : ModuleMain(programFolder, arguments, GameFolders::IsWritableFolder)
{
}

ModuleMain::ModuleMain(const QString& programFolder, const QStringList& arguments, GameFolders::WritableCheck writable)
    : folders(programFolder, std::move(writable)), commandLine(arguments), settings(std::make_unique<Settings>())
{
}

ModuleMain::~ModuleMain()
{
    ExitApp();
}

void ModuleMain::Main()
{
    TimeBeginPeriod();
    StartupChecks::RemoveStaleTemporaries(folders);
    templatePath = folders.ShippedTemplateFolder();
    const std::optional<GameChoice> chosen = commandLine.Game();
    const QString gameCaption = chosen ? CurrentGame::CheckedLayoutCaption(folders, chosen->layoutName) : QString();

    CreateWindow();
    const FormMain::BusyScope busy(*formMain);
    screen = std::make_unique<GameScreen>(*formMain, formMain->Picture(), picBitmap);
    screen->Create(formMain->font(), GameScreen::SharpScaling(commandLine.Scaling(), *settings));
    CreateController();
    CreateEnding();
    play = std::make_unique<PlayRouter>(
        *paiCtrl, *screen, *game, *ending, [this] { ShowOptions(); },
        [this](const std::function<void()>& work) { formMain->Guarded(work); });
    CreateKeys();
    placement->ShowAsLeft();
    screen->FitToWindow();
    CreateSidePanel();
    StartupChecks::TellSettingsProblems();

    answerMode = commandLine.AnswerMode();
    if (answerMode)
        ShowMessage({QCoreApplication::translate("ModuleMain", "解答作成モード").toStdString(),
                     formMain->windowTitle().toStdString(), MessageButtons::Ok, MessageIcon::None});
    paiCtrl->MakeAnswer(answerMode);
    if (chosen)
        StartCommandLineGame(*chosen, gameCaption);
    else
        ShowOptions();
}

void ModuleMain::CreateWindow()
{
    picBitmap = {QImage(QStringLiteral(":/sheets/tiles.png")), QImage(ButtonSheetPath())};
    formMain = std::make_unique<FormMain>();
    formMain->FormInitialize(kScreenWidth, kScreenHeight);
    placement = std::make_unique<WindowPlacement>(*formMain, *settings);
    ConnectInput();
}

// Input goes to the play, held while the clear animation runs.
void ModuleMain::ConnectInput()
{
    FormMain* form = formMain.get();
    const auto settled = [this](auto action) {
        return [this, action](auto... arguments) {
            play->WhenSettled([this, action, arguments...] { action(*this, arguments...); });
        };
    };
    QObject::connect(form, &FormMain::CursorMoved, form,
                     settled([](ModuleMain& m, int32_t x, int32_t y) { m.play->FocusAt(x, y); }));
    QObject::connect(form, &FormMain::Clicked, form,
                     settled([](ModuleMain& m, int32_t x, int32_t y) { m.play->ClickAt(x, y); }));
    QObject::connect(form, &FormMain::CancelAsked, form, settled([](ModuleMain& m) { m.play->CommandCancel(); }));
    QObject::connect(form, &FormMain::HintAsked, form, settled([](ModuleMain& m) { m.play->CommandHint(); }));
    QObject::connect(form, &FormMain::PlaybackAsked, form, settled([](ModuleMain& m) { m.play->CommandPlayback(); }));
    QObject::connect(form, &FormMain::MenuAsked, form, settled([](ModuleMain& m) { m.ShowOptions(); }));
    QObject::connect(form, &FormMain::ShortcutPressed, form,
                     settled([](ModuleMain& m, ShortcutTable::Command command) { m.keys->RunShortcut(command); }));
    QObject::connect(form, &FormMain::ResumeAsked, form, [this] { keys->SetPaused(false); });
    QObject::connect(form, &FormMain::Moved, form, [this](QPoint topLeft) { placement->RememberPlace(topLeft); });
    QObject::connect(form, &FormMain::Reshaped, form, [this] { placement->RememberShape(); });
    QObject::connect(form, &FormMain::Closing, form, [this] { ExitApp(); });
    form->SetCloseCheck([this] { return QuitConfirmed(); });
}

void ModuleMain::CreateController()
{
    paiCtrl = std::make_unique<PaiCtrl>();
    paiCtrl->SetProgramFolder(folders.WritableFolder().toStdString());
    // The window repaints during long work, but input waits until the work is
    // done: a click must never reach a half-built deal or wallpaper.
    paiCtrl->SetEventPump([] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    screen->Connect(*paiCtrl);
    paiCtrl->SetDX7Sound(folders.SoundArchivePath().toStdString());
    wallpaper = std::make_unique<Wallpaper>(*paiCtrl, *settings, folders);
    wallpaper->ShowPlain();
    game = std::make_unique<CurrentGame>(*paiCtrl, *settings, folders);
    // The switches and the wallpaper of the last run.
    paiCtrl->Sounds(settings->Sound());
    paiCtrl->AutoHint(settings->AutoHint());
    wallpaper->ApplyRemembered();
}

void ModuleMain::CreateEnding()
{
    const QString records = GameFolders::UserFolder() + QStringLiteral("/stats.txt");
    ending = std::make_unique<EndOfGame>(*this, *formMain, records.toStdString(), SolverJudge(),
                                         [this](const std::function<void()>& work) { formMain->Guarded(work); },
                                         [this](const std::string& name) { return folders.IsOwnLayout(QString::fromStdString(name)); });
}

void ModuleMain::CreateKeys()
{
    keys = std::make_unique<PlayKeys>(*paiCtrl, *play, *screen, *ending, *formMain, picBitmap[0],
                                      PlayKeys::PanelQuestions{[this] { PanelCommand(PANEL_NEWGAME); },
                                                               [this] { formSub->AskRestart(); },
                                                               [this] { formSub->AskSave(); },
                                                               [this] { formSub->AskLoad(); }});
    keys->ShowStatus(settings->StatusShown());
}

void ModuleMain::CreateSidePanel()
{
    formSub = std::make_unique<FormSub>(*this, formMain.get());
    formSub->Initialize(picBitmap[1]);
    formSub->SetWallsize(kBoardWidth, kBoardHeight);
    formSub->SetSound(paiCtrl->Sounds());
    formSub->SetSaveFilePath(QString::fromStdString(paiCtrl->SavePath()));
}

void ModuleMain::StartCommandLineGame(const GameChoice& chosen, const QString& caption)
{
    StoreQuestionInfo({chosen.layoutName, QString::number(chosen.problem), QString::number(chosen.faceDown), caption});
    try {
        StartGame();
    } catch (const NumberedError& error) {
        throw CommandLineError("the layout " + QuotedText(chosen.layoutName.toStdString()) + " cannot be dealt: " +
                               error.what());
    }
}

bool ModuleMain::QuitConfirmed() const
{
    return !game || game->QuitConfirmed(formMain->windowTitle());
}

void ModuleMain::ExitApp()
{
    if (exited)
        return;
    exited = true;
    keys.reset();
    play.reset();
    ending.reset();
    formSub.reset();
    game.reset();
    screen.reset();
    paiCtrl.reset();
    wallpaper.reset();
    TimeEndPeriod();
}

void ModuleMain::TakeBack(int32_t moves)
{
    play->WhenSettled([this, moves] { play->TakeBackMoves(moves); });
}

void ModuleMain::Restart()
{
    play->WhenSettled([this] { PanelCommand(PANEL_RESTART); });
}

void ModuleMain::NewGame()
{
    play->WhenSettled([this] { PanelCommand(PANEL_NEWGAME); });
}

void ModuleMain::Shuffle()
{
    play->WhenSettled([this] { keys->Shuffle(); });
}

void ModuleMain::ShowOptions()
{
    const EndOfGame::PauseScope pause(*ending);
    formSub->SetAutohint(paiCtrl->AutoHint());
    formSub->PlaceOver(formMain->frameGeometry().topLeft(), screen->MenuScale());
    formSub->exec();
}

void ModuleMain::RedrawScreen(int32_t level)
{
    play->RedrawScreen(level);
}

void ModuleMain::FlipScreen()
{
    screen->Flip();
}

void ModuleMain::StoreQuestionInfo(const QuestionInfo& info)
{
    game->Choose(info);
}

void ModuleMain::StartGame()
{
    game->Start();
    RedrawScreen(REDRAW_FULL);
    const std::string name = game->LayoutName().toStdString();
    ending->GameStarted(folders.IsOwnLayout(game->LayoutName()) ? RecordsText::OwnKey(name) : name, game->Problem());
}

QuestionInfo ModuleMain::CurrentQuestion() const
{
    return game ? game->Question() : QuestionInfo{QString(), QStringLiteral("0"), QStringLiteral("0"), QString()};
}

bool ModuleMain::PanelCommand(int code)
{
    switch (code) {
    case PANEL_NEWGAME:
        RunSelectionDialog();
        play->Resume();
        return false;
    case PANEL_RESTART: {
        const bool restarted = paiCtrl->RequestRestart();
        RedrawScreen(REDRAW_FULL);
        play->Resume();
        if (restarted)
            ending->Restarted();
        return restarted;
    }
    case PANEL_SAVE: {
        const bool saved = paiCtrl->RequestSave();
        if (saved)
            game->MarkSaved();
        return saved;
    }
    case PANEL_LOAD:
        paiCtrl->RequestLoad();
        game->MarkSaved();
        // Shown at once rather than at the next cursor move.
        RedrawScreen(REDRAW_FULL);
        play->Resume();
        ending->GameLoaded();
        return false;
    case PANEL_AUTOHINT_ON:
    case PANEL_AUTOHINT_OFF:
        paiCtrl->AutoHint(code == PANEL_AUTOHINT_ON);
        settings->SetAutoHint(code == PANEL_AUTOHINT_ON);
        RedrawScreen(REDRAW_FULL);
        return false;
    case PANEL_SOUND_ON:
    case PANEL_SOUND_OFF:
        paiCtrl->Sounds(code == PANEL_SOUND_ON);
        settings->SetSound(code == PANEL_SOUND_ON);
        return false;
    default: return false;
    }
}

void ModuleMain::RunSelectionDialog()
{
    FormQues dialog(*this, folders.LayoutFolders(), formMain.get());
    dialog.LoadQuestionInfo(game->Offered());
    QRect centred(QPoint(), dialog.size());
    centred.moveCenter(formMain->geometry().center());
    dialog.setGeometry(centred);
    dialog.exec();
}

void ModuleMain::EditLayout(const QString& layoutName, std::function<void(const QString& fileName)> saved)
{
    const QString path = layoutName.isEmpty() ? QString() : folders.LayoutPath(layoutName);
    OpenLayoutEditor(EditorFolders(folders), path, QApplication::activeModalWidget(), std::move(saved));
}

void ModuleMain::ChooseWallpaper()
{
    if (wallpaper->Choose(formMain.get()))
        RedrawScreen(REDRAW_FULL);
}
