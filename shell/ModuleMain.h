#pragma once

#include "CommandLine.h"
#include "GameCommands.h"
#include "GameFolders.h"
#include "GameScreen.h"
#include "ModuleCommands.h"
#include "PlayKeys.h"
#include "PlayRouter.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <memory>

class CurrentGame;
class DX7Draw;
class EndOfGame;
class FormMain;
class FormSub;
class MapCtrl;
class PaiCtrl;
class Settings;
class Wallpaper;
class WindowPlacement;

// The program's module: start-up and shutdown, and the commands of the side
// panel, the selection dialog and the end-of-game notices. It owns the parts
// that do the work: the window, the screen, the routing of input, the current
// game, the window's placement and the wallpaper.
class ModuleMain : public ModuleCommands, public GameCommands {
public:
    static constexpr int32_t STATE_PLAYING = PlayRouter::STATE_PLAYING;
    static constexpr int32_t STATE_CLEARED = PlayRouter::STATE_CLEARED;
    static constexpr int32_t STATE_ANIMATING = PlayRouter::STATE_ANIMATING;

    static constexpr int32_t REDRAW_COMPOSE = GameScreen::REDRAW_COMPOSE;
    static constexpr int32_t REDRAW_FOCUS = GameScreen::REDRAW_FOCUS;
    static constexpr int32_t REDRAW_FULL = GameScreen::REDRAW_FULL;

    static constexpr int32_t kScreenWidth = GameScreen::kScreenWidth;
    static constexpr int32_t kScreenHeight = GameScreen::kScreenHeight;
    static constexpr int32_t kBoardWidth = GameScreen::kBoardWidth;
    static constexpr int32_t kBoardHeight = GameScreen::kBoardHeight;
    static constexpr int32_t kBoardOrigin = GameScreen::kBoardOrigin;
    static constexpr int32_t kBoardRightmostX = GameScreen::kBoardRightmostX;

    using SurfaceNumbers = GameScreen::SurfaceNumbers;
    using SheetRectangles = GameScreen::SheetRectangles;

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

    // The tiles are hidden and the clock stands until any key or click.
    bool Paused() const { return keys && keys->Paused(); }
    // Whether the side bar shows the play time and the takeable sets.
    bool StatusShown() const { return keys && keys->StatusShown(); }
    StatusFigures CurrentStatus() const { return keys->CurrentStatus(); }
    void ShowOptions();
    void RedrawScreen(int32_t level);
    void FlipScreen();

    void StoreQuestionInfo(const QuestionInfo& info) override;
    void StartGame() override;
    bool PanelCommand(int code) override;
    void ChooseWallpaper() override;
    void EditLayout(const QString& layoutName, std::function<void(const QString& fileName)> saved) override;

    const PaiCtrl& Position() const override { return *paiCtrl; }
    void TakeBack(int32_t moves) override;
    void Restart() override;
    void NewGame() override;
    void Shuffle() override;
    bool Animating() const override { return play && play->PlayState() == STATE_ANIMATING; }

    // Read access for the dialogs, tests and benchmarks.
    FormMain& Form() const { return *formMain; }
    FormSub& SidePanel() const { return *formSub; }
    PlayRouter& Play() const { return *play; }
    PlayKeys& Keys() const { return *keys; }
    PaiCtrl& Controller() const { return *paiCtrl; }
    EndOfGame& Ending() const { return *ending; }
    GameScreen& Screen() const { return *screen; }
    DX7Draw& Layer() const { return screen->Layer(); }
    MapCtrl& ButtonBar() const { return screen->ButtonBar(); }
    // The tile sheet and the button-bar sheet of the session's language.
    const std::array<QImage, 2>& Sheets() const { return picBitmap; }
    const QString& TemplatePath() const { return templatePath; }
    const GameFolders& Folders() const { return folders; }
    Settings& UserSettings() const { return *settings; }
    const SurfaceNumbers& SurfaceSet() const { return screen->SurfaceSet(); }
    const SheetRectangles& SheetRects() const { return screen->SheetRects(); }
    QuestionInfo CurrentQuestion() const;
    bool AnswerMode() const { return answerMode; }
    int32_t FocusX() const { return play->FocusX(); }
    int32_t FocusY() const { return play->FocusY(); }
    int32_t LastFocusID() const { return play->LastFocusID(); }
    int32_t PlayState() const { return play->PlayState(); }
    // The level of the last composed picture; -1 before the first.
    int32_t LastRedrawLevel() const { return screen ? screen->LastRedrawLevel() : -1; }

private:
    void CreateWindow();
    void ConnectInput();
    void CreateController();
    void CreateEnding();
    void CreateSidePanel();
    void CreateKeys();
    void RunSelectionDialog();
    void StartCommandLineGame(const GameChoice& game, const QString& caption);

    GameFolders folders;
    CommandLine commandLine;
    std::unique_ptr<Settings> settings;
    QString templatePath;
    std::array<QImage, 2> picBitmap;
    std::unique_ptr<FormMain> formMain;
    std::unique_ptr<WindowPlacement> placement;
    std::unique_ptr<GameScreen> screen;
    std::unique_ptr<PaiCtrl> paiCtrl;
    std::unique_ptr<Wallpaper> wallpaper;
    std::unique_ptr<CurrentGame> game;
    std::unique_ptr<FormSub> formSub;
    std::unique_ptr<EndOfGame> ending;
    std::unique_ptr<PlayRouter> play;
    std::unique_ptr<PlayKeys> keys;

    bool answerMode = false;
    bool exited = false;
};
