#include "ModuleMain.h"

#include "DialogBox.h"
#include "DX7Draw.h"
#include "EndOfGame.h"
#include "FileConv.h"
#include "FormMain.h"
#include "FormQues.h"
#include "FormSub.h"
#include "MapCtrl.h"
#include "MessageBox.h"
#include "NumberedError.h"
#include "PaiCtrl.h"
#include "PictureBox.h"
#include "PictureFile.h"
#include "QuotedText.h"
#include "Settings.h"
#include "SolverJudge.h"
#include "StartupChecks.h"
#include "WindowCloseFilter.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kMagenta = 0xFF00FF;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBackdropColour = 0xFF9933;
constexpr int32_t kCaptionX = 665;
constexpr int32_t kCaptionY = 120;
constexpr int32_t kLastStandingFrame = 57;
constexpr int32_t kLastFrame = 113;
constexpr auto kFrameInterval = std::chrono::microseconds(1'000'000 / 60);

PixelRect WholePicture(const QImage& picture)
{
    return {0, 0, picture.width(), picture.height()};
}

// The platform's millisecond counter; differences are taken modulo 2^32.
uint32_t TimeGetTime()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

// Timer resolution is fine-grained on Linux already; the calls keep their
// places in start-up and shutdown.
void TimeBeginPeriod() {}
void TimeEndPeriod() {}

int32_t WholeNumber(const QString& text, const char* what)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw NumberedError(NumberedError::InvalidArgument,
                            std::string(what) + " " + QuotedText(text.toStdString()) + " is not a whole number");
    return value;
}

// The layout's message as the selection dialog shows it.
QString LayoutCaption(const QString& path)
{
    FileConv layout;
    layout.LoadFile(path.toStdString());
    return FormQues::LayoutMessage(layout, QFileInfo(path).fileName());
}

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
    const std::optional<GameChoice> game = commandLine.Game();
    const QString gameCaption = game ? CheckedLayoutCaption(game->layoutName) : QString();

    formMain = std::make_unique<FormMain>(*this);
    formMain->FormInitialize(kScreenWidth, kScreenHeight);
    closeFilter = std::make_unique<WindowCloseFilter>(*formMain, [this] { CloseOverModalWindows(); });
    QCoreApplication::instance()->installNativeEventFilter(closeFilter.get());
    const FormMain::BusyScope busy(*formMain);
    dx7 = std::make_shared<DX7Draw>();
    dx7->Initialize(formMain.get(), formMain->picMain, kScreenWidth, kScreenHeight);
    formMain->picMain->SetMarginColor(kBackdropColour);
    CreateSurfaces();
    dx7->DD7SetFont(formMain->font());
    CreateController();
    CreateButtonBar();
    ApplyRememberedSettings();
    StartStatusClock();
    CreateEnding();
    ShowWindowAsLeft();
    RedrawScreen(REDRAW_FULL);
    CreateSidePanel();
    StartupChecks::TellSettingsProblems();

    answerMode = commandLine.AnswerMode();
    if (answerMode)
        ShowMessage({QCoreApplication::translate("ModuleMain", "解答作成モード").toStdString(),
                     formMain->windowTitle().toStdString(), MessageButtons::Ok, MessageIcon::None});
    paiCtrl->MakeAnswer(answerMode);
    if (game)
        StartCommandLineGame(*game, gameCaption);
    else
        ShowOptions();
}

QString ModuleMain::CheckedLayoutCaption(const QString& layoutName) const
{
    const QString path = folders.LayoutPath(layoutName);
    if (layoutName.contains(u'/') || !QFileInfo(path).isFile()) {
        const QStringList known = folders.LayoutNames();
        throw CommandLineError("no layout named " + QuotedText(layoutName.toStdString()) + " in " +
                               templatePath.toStdString() + " (there are: " +
                               known.join(QStringLiteral(", ")).toStdString() + ")");
    }
    try {
        return LayoutCaption(path);
    } catch (const NumberedError& error) {
        throw CommandLineError("the layout " + QuotedText(layoutName.toStdString()) + " cannot be read: " + error.what());
    }
}

void ModuleMain::CreateSurfaces()
{
    const QImage& tiles = formMain->picBitmap[0];
    const QImage& hud = formMain->picBitmap[1];
    surfaceSet.Tiles = dx7->GetFreeNumber();
    dx7->LoadPicture(surfaceSet.Tiles, tiles, true, kMagenta, kMagenta);
    sheetRects.TilesRect = WholePicture(tiles);

    surfaceSet.TilesOnWhite = dx7->GetFreeNumber();
    dx7->CreateSprite(surfaceSet.TilesOnWhite, sheetRects.TilesRect.Right, sheetRects.TilesRect.Bottom, true, kWhite,
                      kWhite);
    dx7->DD7Fill(surfaceSet.TilesOnWhite, sheetRects.TilesRect, kWhite);
    dx7->DD7SpriteBltFast(surfaceSet.TilesOnWhite, 0, 0, surfaceSet.Tiles, sheetRects.TilesRect);

    surfaceSet.Work = dx7->GetFreeNumber();
    dx7->CreateSprite(surfaceSet.Work, kBoardWidth, kBoardHeight);

    surfaceSet.Hud = dx7->GetFreeNumber();
    sheetRects.HudRect = WholePicture(hud);
    dx7->LoadPicture(surfaceSet.Hud, hud, true, kRed, kRed);

    surfaceSet.Wall = dx7->GetFreeNumber();
    dx7->CreateSprite(surfaceSet.Wall, kBoardWidth, kBoardHeight);

    surfaceSet.Backdrop = dx7->GetFreeNumber();
    dx7->CreateSprite(surfaceSet.Backdrop, kScreenWidth, kScreenHeight);
    ScreenRect = {0, 0, kScreenWidth, kScreenHeight};
    dx7->DD7Fill(surfaceSet.Backdrop, ScreenRect, kBackdropColour);
}

void ModuleMain::CreateController()
{
    paiCtrl = std::make_unique<PaiCtrl>();
    paiCtrl->SetProgramFolder(folders.WritableFolder().toStdString());
    // The window repaints during long work, but input waits until the work is
    // done: a click must never reach a half-built deal or wallpaper.
    paiCtrl->SetEventPump([] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    paiCtrl->SetDX7(dx7);
    paiCtrl->SetDX7Work(surfaceSet.Work, kBoardWidth, kBoardHeight);
    paiCtrl->SetDX7Sprite(surfaceSet.Tiles, surfaceSet.TilesOnWhite, sheetRects.TilesRect.Right,
                          sheetRects.TilesRect.Bottom);
    paiCtrl->SetDX7Wall(surfaceSet.Wall);
    paiCtrl->SetDX7Sound(folders.SoundArchivePath().toStdString());
    // The wallpaper holder is still empty, which gives the plain wallpaper.
    paiCtrl->ChangeWallpaper(formMain->picWall, true);
}

// The switches and the wallpaper of the last run; a picture that is gone or
// cannot be read leaves the plain board.
void ModuleMain::ApplyRememberedSettings()
{
    paiCtrl->Sounds(settings->Sound());
    paiCtrl->AutoHint(settings->AutoHint());
    const QString wallpaper = settings->Wallpaper();
    if (wallpaper.isEmpty())
        return;
    try {
        ApplyWallpaper(wallpaper);
    } catch (const std::exception&) {
        paiCtrl->ChangeWallpaper(formMain->picWall, true);
    }
}

void ModuleMain::CreateButtonBar()
{
    mapCtrl = std::make_unique<MapCtrl>();
    mapCtrl->SetDX7(dx7);
    mapCtrl->SetDX7Sprite(surfaceSet.Hud, sheetRects.HudRect.Right, sheetRects.HudRect.Bottom);
}

void ModuleMain::CreateEnding()
{
    const QString records = GameFolders::UserFolder() + QStringLiteral("/stats.txt");
    ending = std::make_unique<EndOfGame>(*this, *formMain, records.toStdString(), SolverJudge(),
                                         [this](const std::string& name) { return folders.IsOwnLayout(QString::fromStdString(name)); });
}

void ModuleMain::CreateSidePanel()
{
    formSub = std::make_unique<FormSub>(*this, formMain.get());
    formSub->Initialize(formMain->picBitmap[1]);
    formSub->SetWallsize(kBoardWidth, kBoardHeight);
    formSub->SetSound(paiCtrl->Sounds());
    formSub->SetSaveFilePath(QString::fromStdString(paiCtrl->SavePath()));
}

void ModuleMain::StartCommandLineGame(const GameChoice& game, const QString& caption)
{
    StoreQuestionInfo({game.layoutName, QString::number(game.problem), QString::number(game.faceDown), caption});
    try {
        StartGame();
    } catch (const NumberedError& error) {
        throw CommandLineError("the layout " + QuotedText(game.layoutName.toStdString()) + " cannot be dealt: " + error.what());
    }
}

// Back where the player left the window, unless no screen shows that place
// any more; otherwise it stays centred.
void ModuleMain::RestoreWindowPosition()
{
    const std::optional<QPoint> position = settings->WindowPosition();
    if (position && WindowPlacement::CentreOnAScreen(*position, formMain->frameGeometry().size()))
        formMain->move(*position);
}

void ModuleMain::WindowMoved(QPoint topLeft)
{
    // A maximised or full-screen window's place is the screen's, not the player's.
    if (formMain && formMain->isVisible() && !formMain->isMaximized() && !formMain->isFullScreen())
        settings->SetWindowPosition(topLeft);
}

// At the size the player left it, maximised or full screen again if it was.
void ModuleMain::ShowWindowAsLeft()
{
    const Settings::WindowShape shape = settings->LastWindowShape();
    if (shape.size)
        formMain->ResizeCentred(WindowPlacement::FittedClient(*shape.size, formMain->minimumSize(),
                                                              formMain->frameGeometry().size() - formMain->size(),
                                                              formMain->screen()->availableGeometry()));
    formMain->show();
    RestoreWindowPosition();
    Qt::WindowStates states = formMain->windowState();
    states.setFlag(Qt::WindowMaximized, shape.maximised);
    states.setFlag(Qt::WindowFullScreen, shape.fullScreen);
    formMain->setWindowState(states);
}

void ModuleMain::WindowReshaped()
{
    if (!formMain || !formMain->isVisible())
        return;
    Settings::WindowShape shape = settings->LastWindowShape();
    shape.maximised = formMain->isMaximized();
    shape.fullScreen = formMain->isFullScreen();
    // The size to come back to is the plain window's.
    if (!shape.maximised && !shape.fullScreen && !formMain->isMinimized())
        shape.size = formMain->size();
    settings->SetLastWindowShape(shape);
}

bool ModuleMain::QuitConfirmed() const
{
    if (!UnsavedProgress())
        return true;
    return ShowMessage({QCoreApplication::translate("ModuleMain", "ゲームを終了しますか？").toStdString(),
                        formMain->windowTitle().toStdString(), MessageButtons::YesNo,
                        MessageIcon::Question}) == MessageResult::Yes;
}

// Moves made since the deal, the save or the load, with tiles still on the
// board: a cleared board or an untouched deal has nothing to lose.
bool ModuleMain::UnsavedProgress() const
{
    if (!paiCtrl || !paiCtrl->GameActive() || paiCtrl->GetPaiCount() == 0 || paiCtrl->RemovedCount() == 0)
        return false;
    const auto& history = paiCtrl->History();
    return !std::equal(savedMoves.begin(), savedMoves.end(), history.begin(), history.begin() + paiCtrl->RemovedCount());
}

void ModuleMain::MarkGameSaved()
{
    const auto& history = paiCtrl->History();
    savedMoves.assign(history.begin(), history.begin() + paiCtrl->RemovedCount());
}

void ModuleMain::ExitApp()
{
    if (exited)
        return;
    exited = true;
    statusClock.reset();
    ending.reset();
    formSub.reset();
    dx7.reset();
    paiCtrl.reset();
    mapCtrl.reset();
    TimeEndPeriod();
}

void ModuleMain::CloseOverModalWindows()
{
    while (QWidget* modal = QApplication::activeModalWidget())
        if (!modal->close())
            return;
    QMetaObject::invokeMethod(formMain.get(), &QWidget::close, Qt::QueuedConnection);
}

void ModuleMain::FocusAt(int32_t x, int32_t y)
{
    if (PlayingFrozen())
        return;
    focusY = y;
    focusX = x;
    const int32_t id = paiCtrl->GetOnMouseID(x - kBoardOrigin, y - kBoardOrigin);
    paiCtrl->FocusPai(id);
    if (id == lastFocusID) {
        RedrawScreen(REDRAW_COMPOSE);
    } else {
        lastFocusID = id;
        RedrawScreen(REDRAW_FOCUS);
    }
}

void ModuleMain::ClickAt(int32_t x, int32_t y)
{
    if (PlayingFrozen())
        return;
    if (x > kBoardRightmostX) {
        switch (mapCtrl->JudgePointer(x, y)) {
        case MapCtrl::BUTTON_HINT: CommandHint(); break;
        case MapCtrl::BUTTON_PLAYBACK: CommandPlayback(); break;
        case MapCtrl::BUTTON_OPTION: ShowOptions(); break;
        default: break;
        }
        return;
    }
    const int32_t id = paiCtrl->GetOnMouseID(x - kBoardOrigin, y - kBoardOrigin);
    if (id < 0)
        return;
    const int32_t removedBefore = paiCtrl->RemovedCount();
    ActOnMove(paiCtrl->ClickPai(id), removedBefore);
}

// Redraws after a click or a redo, and lets the end of the game be watched.
void ModuleMain::ActOnMove(int32_t event, int32_t removedBefore)
{
    switch (event) {
    case PaiCtrl::EVENT_PRINT:
    case PaiCtrl::EVENT_NOPLAY:
        RedrawScreen(REDRAW_FULL);
        if (paiCtrl->RemovedCount() != removedBefore)
            ending->AfterMove();
        break;
    case PaiCtrl::EVENT_CLEAR: {
        ending->AfterMove();
        const bool animated = playState == STATE_PLAYING;
        if (animated)
            RunClearSequence();
        RedrawScreen(REDRAW_FULL);
        if (animated)
            ending->Cleared();
        break;
    }
    default: break;
    }
}

void ModuleMain::CommandCancel()
{
    RunCommand(PaiCtrl::PAI_CANCEL);
}

void ModuleMain::CommandHint()
{
    RunCommand(PaiCtrl::PAI_HINT);
}

void ModuleMain::CommandPlayback()
{
    RunCommand(PaiCtrl::PAI_PLAYBACK);
}

void ModuleMain::RunCommand(int32_t pseudoId)
{
    if (PlayingFrozen())
        return;
    const int32_t removedBefore = paiCtrl->RemovedCount();
    if (paiCtrl->ClickPai(pseudoId) == PaiCtrl::EVENT_PRINT)
        RedrawScreen(REDRAW_FULL);
    if (pseudoId == PaiCtrl::PAI_HINT)
        ending->AfterHint();
    else if (paiCtrl->RemovedCount() < removedBefore)
        ending->AfterTakeBack();
}

void ModuleMain::ShowOptions()
{
    const EndOfGame::PauseScope pause(*ending);
    formSub->SetAutohint(paiCtrl->AutoHint());
    formSub->PlaceOver(formMain->frameGeometry().topLeft(), formMain->picMain->Fit().scale);
    formSub->exec();
}

void ModuleMain::RunClearSequence()
{
    playState = STATE_ANIMATING;
    try {
        PaintClearFrames(0, kLastStandingFrame);
        WaitMs(kClearWaitMs);
        PaintClearFrames(kLastStandingFrame + 1, kLastFrame);
    } catch (...) {
        // A failed frame must not leave the input blocked for good.
        playState = STATE_CLEARED;
        throw;
    }
    playState = STATE_CLEARED;
}

void ModuleMain::PaintClearFrames(int32_t first, int32_t last)
{
    // Paced to about 60 frames a second; input meanwhile waits in the queue.
    auto deadline = std::chrono::steady_clock::now();
    for (int32_t times = first; times <= last; ++times) {
        paiCtrl->PaintClear(times);
        RedrawScreen(REDRAW_COMPOSE);
        deadline += kFrameInterval;
        std::this_thread::sleep_until(deadline);
    }
}

void ModuleMain::RedrawScreen(int32_t level)
{
    dx7->DD7BltFast(0, 0, surfaceSet.Backdrop, ScreenRect);
    if (level == REDRAW_FOCUS)
        paiCtrl->PaintFocus();
    else if (level == REDRAW_FULL)
        paiCtrl->PaintMap();
    paiCtrl->Blit(kBoardOrigin, kBoardOrigin);
    mapCtrl->BlitCounter(paiCtrl->GetPaiCount());
    // Away from the buttons the pointer names none, so all are drawn normal.
    mapCtrl->BlitButton(mapCtrl->JudgePointer(focusX, focusY), MapCtrl::MODE_FOCUS);
    mapCtrl->BlitCursor(focusX, focusY);
    dx7->DD7DrawText(kCaptionX, kCaptionY, ShownCaption());
    PaintPlayState();
    lastRedrawLevel = level;
    FlipScreen();
}

void ModuleMain::FlipScreen()
{
    dx7->DD7Flip(formMain->picMain);
}

void ModuleMain::WaitMs(int32_t ms)
{
    const uint32_t start = TimeGetTime();
    while (static_cast<int64_t>(TimeGetTime() - start) < ms) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void ModuleMain::StoreQuestionInfo(const QuestionInfo& info)
{
    // Both numbers are read before anything changes: a bad one keeps the
    // chosen game whole.
    const int32_t seed = WholeNumber(info[1], "problem number");
    const int32_t reverse = WholeNumber(info[2], "face-down setting");
    QuestionFile = info[0];
    QuestionSeed = seed;
    QuestionReverse = reverse;
    QuestionCaption = info[3];
}

void ModuleMain::StartGame()
{
    try {
        paiCtrl->GameInit(folders.LayoutPath(QuestionFile).toStdString(), QuestionSeed, QuestionReverse);
    } catch (...) {
        // The game in progress stays, so the choice and caption go back to it.
        StoreQuestionInfo(startedQuestion);
        throw;
    }
    startedQuestion = CurrentQuestion();
    MarkGameSaved();
    settings->SetLastGame({QuestionFile, QuestionSeed, QuestionReverse});
    RedrawScreen(REDRAW_FULL);
    const std::string name = QuestionFile.toStdString();
    ending->GameStarted(folders.IsOwnLayout(QuestionFile) ? RecordsText::OwnKey(name) : name, QuestionSeed);
}

QuestionInfo ModuleMain::CurrentQuestion() const
{
    return {QuestionFile, QString::number(QuestionSeed), QString::number(QuestionReverse), QuestionCaption};
}

bool ModuleMain::PanelCommand(int code)
{
    switch (code) {
    case PANEL_NEWGAME:
        RunSelectionDialog();
        playState = STATE_PLAYING;
        return false;
    case PANEL_RESTART: {
        const bool restarted = paiCtrl->RequestRestart();
        RedrawScreen(REDRAW_FULL);
        playState = STATE_PLAYING;
        if (restarted)
            ending->Restarted();
        return restarted;
    }
    case PANEL_SAVE: {
        const bool saved = paiCtrl->RequestSave();
        if (saved)
            MarkGameSaved();
        return saved;
    }
    case PANEL_LOAD:
        paiCtrl->RequestLoad();
        MarkGameSaved();
        // Shown at once rather than at the next cursor move.
        RedrawScreen(REDRAW_FULL);
        playState = STATE_PLAYING;
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
    dialog.LoadQuestionInfo(OfferedQuestion());
    QRect centred(QPoint(), dialog.size());
    centred.moveCenter(formMain->geometry().center());
    dialog.setGeometry(centred);
    dialog.exec();
}

// The game in progress, or before the first one the game chosen last time
// when its layout is still there.
QuestionInfo ModuleMain::OfferedQuestion() const
{
    const std::optional<Settings::GameChoice> last = settings->LastGame();
    if (!startedQuestion[0].isEmpty() || !last || !folders.LayoutNames().contains(last->layout))
        return CurrentQuestion();
    return {last->layout, QString::number(last->problem), QString::number(last->faceDown), QString()};
}

void ModuleMain::ChooseWallpaper()
{
    DialogBox dialogBox;
    dialogBox.Initialize(formMain.get());
    dialogBox.OpenDialog_Title(QCoreApplication::translate("ModuleMain", "背景画を選択してください"));
    dialogBox.OpenDialog_Filter(QStringLiteral("*.bmp;*.gif;*.jpg;*.jpeg;*.png"));
    dialogBox.OpenDialog_InitialFolder(WallpaperDialogFolder());
    if (!dialogBox.OpenDialog()) {
        RedrawScreen(REDRAW_FULL);
        return;
    }
    try {
        ApplyWallpaper(dialogBox.OpenFile());
        settings->SetWallpaper(dialogBox.OpenFile());
    } catch (const std::exception& error) {
        // The wallpaper stays as it was; the player learns why.
        ShowMessage({QCoreApplication::translate("ModuleMain", "この画像は読み込めません。").toStdString() + "\n" +
                         error.what(),
                     QCoreApplication::translate("ModuleMain", "壁紙").toStdString(), MessageButtons::Ok,
                     MessageIcon::Warning});
    }
}

// The shipped pictures' folder, or the folder of the picture chosen last.
QString ModuleMain::WallpaperDialogFolder() const
{
    const QString chosen = settings->Wallpaper();
    return chosen.isEmpty() ? folders.WallpaperFolder() : QFileInfo(chosen).absolutePath();
}

// Bitmaps are tiled over the board, other pictures centred on it.
void ModuleMain::ApplyWallpaper(const QString& path)
{
    formMain->picWall = ReadPictureFile(path);
    const bool isCenter = path.right(3).toLower() != QStringLiteral("bmp");
    paiCtrl->ChangeWallpaper(formMain->picWall, isCenter);
    RedrawScreen(REDRAW_FULL);
}
