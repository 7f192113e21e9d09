#pragma once

#include "CommandLine.h"
#include "GameFolders.h"
#include "ModuleCommands.h"
#include "PixelRect.h"
#include "ShortcutTable.h"
#include "StatusFigures.h"

#include <QString>
#include <QPoint>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <string>
#include <optional>
#include <vector>

class DX7Draw;
class EndOfGame;
class FormMain;
class FormSub;
class MapCtrl;
class PaiCtrl;
class QTimer;
class Settings;
class WindowCloseFilter;

// The program's module: start-up and shutdown, the routing of the main
// window's input to the game controller and the button bar, the composition
// of the screen, and the commands of the side panel and the selection dialog.
class ModuleMain : public ModuleCommands {
public:
    static constexpr int32_t STATE_PLAYING = 0;
    static constexpr int32_t STATE_CLEARED = 1;
    static constexpr int32_t STATE_ANIMATING = 2;

    static constexpr int32_t REDRAW_COMPOSE = 0;
    static constexpr int32_t REDRAW_FOCUS = 1;
    static constexpr int32_t REDRAW_FULL = 2;

    static constexpr int32_t kScreenWidth = 792;
    static constexpr int32_t kScreenHeight = 566;
    static constexpr int32_t kBoardWidth = 655;
    static constexpr int32_t kBoardHeight = 557;
    static constexpr int32_t kBoardOrigin = 4;
    static constexpr int32_t kBoardRightmostX = 659;
    static constexpr int32_t kClearWaitMs = 800;

    // The sprite numbers of the main window's surfaces, in order of creation.
    struct SurfaceNumbers {
        int32_t Tiles = 0;
        int32_t TilesOnWhite = 0;
        int32_t Work = 0;
        int32_t Hud = 0;
        int32_t Wall = 0;
        int32_t Backdrop = 0;
    };
    struct SheetRectangles {
        PixelRect TilesRect;
        PixelRect HudRect;
    };

    // programFolder is the program's own folder; template/ and sound.dat lie
    // there or in ../share/tovrik. arguments exclude the program's name. A
    // wrong game on the command line raises CommandLineError.
    ModuleMain(const QString& programFolder, const QStringList& arguments);
    // The same with the test of whether the program's folder may be written to.
    ModuleMain(const QString& programFolder, const QStringList& arguments, GameFolders::WritableCheck writable);
    ~ModuleMain() override;
    ModuleMain(const ModuleMain&) = delete;
    ModuleMain& operator=(const ModuleMain&) = delete;

    // Builds the window, the surfaces, the controller and the button bar,
    // shows the first picture, then starts the game named on the command
    // line or lets the player choose one.
    void Main();
    // Whether the window may close: with progress that is not in save.dat
    // the player is asked first.
    bool QuitConfirmed() const;
    // Tears the objects down; the window is closing. Runs once.
    void ExitApp();
    // The close button was pressed while the side panel or a dialog is open:
    // those close first, then the window, with the usual question.
    void CloseOverModalWindows();
    // Remembers where the player put the window.
    void WindowMoved(QPoint topLeft);
    // Remembers the window's size, maximised and full-screen state.
    void WindowReshaped();

    void FocusAt(int32_t x, int32_t y);
    void ClickAt(int32_t x, int32_t y);
    void CommandCancel();
    void CommandHint();
    void CommandPlayback();
    // Puts back the set most recently taken back, as a move.
    void CommandRedo();
    // Deals the faces of the tiles left anew so that the game can be cleared,
    // or tells the player that no such arrangement was found.
    void CommandShuffle();
    void RunShortcut(ShortcutTable::Command command);
    // The tiles are hidden and the clock stands until any key or click.
    bool Paused() const { return paused; }
    void SetPaused(bool on);
    void ShowHelp();
    // Whether the side bar shows the play time and the takeable sets.
    bool StatusShown() const { return statusShown; }
    StatusFigures CurrentStatus() const;
    void ShowOptions();
    void RedrawScreen(int32_t level);
    void FlipScreen();
    // Waits ms milliseconds while the window keeps handling its events.
    static void WaitMs(int32_t ms);

    void StoreQuestionInfo(const QuestionInfo& info) override;
    void StartGame() override;
    bool PanelCommand(int code) override;
    void ChooseWallpaper() override;

    // Read access for the dialogs, tests and benchmarks.
    FormMain& Form() const { return *formMain; }
    FormSub& SidePanel() const { return *formSub; }
    PaiCtrl& Controller() const { return *paiCtrl; }
    EndOfGame& Ending() const { return *ending; }
    DX7Draw& Layer() const { return *dx7; }
    MapCtrl& ButtonBar() const { return *mapCtrl; }
    const QString& TemplatePath() const { return templatePath; }
    const GameFolders& Folders() const { return folders; }
    Settings& UserSettings() const { return *settings; }
    const SurfaceNumbers& SurfaceSet() const { return surfaceSet; }
    const SheetRectangles& SheetRects() const { return sheetRects; }
    QuestionInfo CurrentQuestion() const;
    bool AnswerMode() const { return answerMode; }
    int32_t FocusX() const { return focusX; }
    int32_t FocusY() const { return focusY; }
    int32_t LastFocusID() const { return lastFocusID; }
    int32_t PlayState() const { return playState; }
    // The level of the last composed picture; -1 before the first.
    int32_t LastRedrawLevel() const { return lastRedrawLevel; }

private:
    void CreateSurfaces();
    void CreateController();
    void CreateButtonBar();
    void CreateEnding();
    void CreateSidePanel();
    void RunSelectionDialog();
    void ApplyWallpaper(const QString& path);
    void ApplyRememberedSettings();
    QuestionInfo OfferedQuestion() const;
    QString WallpaperDialogFolder() const;
    void RestoreWindowPosition();
    void ShowWindowAsLeft();
    void MarkGameSaved();
    bool UnsavedProgress() const;
    QString CheckedLayoutCaption(const QString& layoutName) const;
    void StartCommandLineGame(const GameChoice& game, const QString& caption);
    void RunClearSequence();
    void PaintClearFrames(int32_t first, int32_t last);
    bool PlayingFrozen() const { return playState == STATE_ANIMATING; }
    void RunCommand(int32_t pseudoId);
    void ActOnMove(int32_t event, int32_t removedBefore);
    void StartStatusClock();
    void PaintPlayState();
    std::string ShownCaption() const;

    GameFolders folders;
    CommandLine commandLine;
    std::unique_ptr<Settings> settings;
    QString templatePath;
    std::unique_ptr<FormMain> formMain;
    std::unique_ptr<WindowCloseFilter> closeFilter;
    std::shared_ptr<DX7Draw> dx7;
    std::unique_ptr<PaiCtrl> paiCtrl;
    std::unique_ptr<MapCtrl> mapCtrl;
    std::unique_ptr<FormSub> formSub;
    std::unique_ptr<EndOfGame> ending;
    SurfaceNumbers surfaceSet;
    SheetRectangles sheetRects;
    PixelRect ScreenRect;

    QString QuestionFile;
    int32_t QuestionSeed = 0;
    int32_t QuestionReverse = 0;
    QString QuestionCaption;
    QuestionInfo startedQuestion{QString(), QStringLiteral("0"), QStringLiteral("0"), QString()};
    bool answerMode = false;
    // The moves of the game as it was last started, saved or loaded.
    std::vector<int32_t> savedMoves;

    int32_t focusX = 0;
    int32_t focusY = 0;
    int32_t lastFocusID = 0;
    int32_t playState = STATE_PLAYING;
    int32_t lastRedrawLevel = -1;
    bool exited = false;
    bool paused = false;
    bool statusShown = true;
    std::unique_ptr<QTimer> statusClock;
    std::optional<StatusFigures> shownStatus;
};
