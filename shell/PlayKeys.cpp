#include "PlayKeys.h"

#include "EndOfGame.h"
#include "FaceShuffle.h"
#include "FormMain.h"
#include "GameScreen.h"
#include "HelpWindow.h"
#include "MessageBox.h"
#include "PaiCtrl.h"
#include "PlayRouter.h"
#include "SolverJudge.h"
#include "StatusPainter.h"

#include <QCoreApplication>

namespace {

// Often enough that the shown second never lags by much.
constexpr int kStatusTickMs = 200;

} // namespace

PlayKeys::PlayKeys(PaiCtrl& controller, PlayRouter& play, GameScreen& screen, EndOfGame& ending, FormMain& window,
                   const QImage& tiles, PanelQuestions questions)
    : controller(controller), play(play), screen(screen), ending(ending), window(window), tiles(tiles),
      questions(std::move(questions))
{
    statusClock.setInterval(kStatusTickMs);
    QObject::connect(&statusClock, &QTimer::timeout, &window, [this] { StatusTick(); });
}

void PlayKeys::RunShortcut(ShortcutTable::Command command)
{
    using Command = ShortcutTable::Command;
    const auto asked = [this](const std::function<void()>& question) {
        const EndOfGame::PauseScope pause(ending);
        question();
    };
    switch (command) {
    case Command::NewGame: asked(questions.newGame); break;
    case Command::TakeBack: play.CommandPlayback(); break;
    case Command::Redo: play.CommandRedo(); break;
    case Command::Restart: asked(questions.restart); break;
    case Command::Save: asked(questions.save); break;
    case Command::Load: asked(questions.load); break;
    case Command::Pause: SetPaused(true); break;
    case Command::Help: ShowHelp(); break;
    case Command::Shuffle: Shuffle(); break;
    case Command::Quit: window.close(); break;
    }
}

void PlayKeys::Shuffle()
{
    if (!controller.GameActive() || controller.GetPaiCount() == 0)
        return;
    const std::optional<FaceShuffle::Faces> faces = FaceShuffle::FindClearable(
        controller.Board(), ending.Shuffles() + 1, SolverJudge(FaceShuffle::kJudgeMs));
    if (!faces) {
        const EndOfGame::PauseScope pause(ending);
        ShowMessage({QCoreApplication::translate("ModuleMain", "解ける配置が見つからなかったので、混ぜ直しませんでした。")
                         .toStdString(),
                     QCoreApplication::translate("ModuleMain", "混ぜ直す").toStdString(), MessageButtons::Ok,
                     MessageIcon::Information});
        return;
    }
    controller.ReplaceFaces(*faces);
    play.RedrawScreen(GameScreen::REDRAW_FULL);
    ending.Shuffled();
}

void PlayKeys::SetPaused(bool on)
{
    if (on == paused || (on && (!controller.GameActive() || controller.GetPaiCount() == 0)))
        return;
    paused = on;
    window.SetPaused(on);
    screen.SetPaused(on);
    ending.SetGamePaused(on);
    play.RedrawScreen(on ? GameScreen::REDRAW_COMPOSE : GameScreen::REDRAW_FULL);
}

void PlayKeys::ShowHelp()
{
    const EndOfGame::PauseScope pause(ending);
    HelpWindow help(tiles, ShortcutTable::KeyTable(), &window);
    help.exec();
}

void PlayKeys::ShowStatus(bool shown)
{
    statusShown = shown;
    if (!shown) {
        statusClock.stop();
        screen.ShowStatus({});
        return;
    }
    screen.ShowStatus([this]() -> std::optional<StatusFigures> {
        if (!controller.GameActive())
            return std::nullopt;
        return CurrentStatus();
    });
    statusClock.start();
}

StatusFigures PlayKeys::CurrentStatus() const
{
    return {ending.PlayedMs(), StatusFigures::TakeableSets(controller.Board())};
}

// Redraws only when the shown text would change, so about once a second.
void PlayKeys::StatusTick()
{
    const std::optional<StatusFigures>& shown = screen.ShownStatus();
    if (play.PlayState() == PlayRouter::STATE_ANIMATING || !controller.GameActive() || !shown ||
        StatusPainter::Lines(CurrentStatus()) == StatusPainter::Lines(*shown))
        return;
    window.Guarded([this] { play.RedrawScreen(GameScreen::REDRAW_COMPOSE); });
}
