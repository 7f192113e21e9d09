#include "PlayRouter.h"

#include "ClearAnimation.h"
#include "CurrentGame.h"
#include "EndOfGame.h"
#include "GameScreen.h"
#include "MapCtrl.h"
#include "PaiCtrl.h"

PlayRouter::PlayRouter(PaiCtrl& controller, GameScreen& screen, const CurrentGame& game, EndOfGame& ending,
                       std::function<void()> showMenu, Guard guard)
    : controller(controller), screen(screen), game(game), ending(ending), showMenu(std::move(showMenu)),
      guard(std::move(guard)),
      clearAnimation(std::make_unique<ClearAnimation>([this](int32_t frame) {
          this->screen.PaintClearFrame(frame, {focusX, focusY}, this->game.Caption());
      }))
{
    QObject::connect(clearAnimation.get(), &ClearAnimation::Finished, clearAnimation.get(),
                     [this] { this->guard([this] { ClearAnimationFinished(); }); });
}

PlayRouter::~PlayRouter() = default;

void PlayRouter::WhenSettled(std::function<void()> action)
{
    if (playState == STATE_ANIMATING)
        heldInput.push_back(std::move(action));
    else
        action();
}

void PlayRouter::FocusAt(int32_t x, int32_t y)
{
    focusY = y;
    focusX = x;
    const int32_t id = controller.GetOnMouseID(x - GameScreen::kBoardOrigin, y - GameScreen::kBoardOrigin);
    controller.FocusPai(id);
    if (id == lastFocusID) {
        RedrawScreen(GameScreen::REDRAW_COMPOSE);
    } else {
        lastFocusID = id;
        RedrawScreen(GameScreen::REDRAW_FOCUS);
    }
}

void PlayRouter::ClickAt(int32_t x, int32_t y)
{
    if (x > GameScreen::kBoardRightmostX) {
        switch (screen.ButtonBar().JudgePointer(x, y)) {
        case MapCtrl::BUTTON_HINT: CommandHint(); break;
        case MapCtrl::BUTTON_PLAYBACK: CommandPlayback(); break;
        case MapCtrl::BUTTON_OPTION: showMenu(); break;
        default: break;
        }
        return;
    }
    const int32_t id = controller.GetOnMouseID(x - GameScreen::kBoardOrigin, y - GameScreen::kBoardOrigin);
    if (id < 0)
        return;
    const int32_t removedBefore = controller.RemovedCount();
    ActOnMove(controller.ClickPai(id), removedBefore);
}

void PlayRouter::CommandRedo()
{
    const int32_t removedBefore = controller.RemovedCount();
    ActOnMove(controller.ClickPai(PaiCtrl::PAI_REDO), removedBefore);
}

// Redraws after a click or a redo, and lets the end of the game be watched.
void PlayRouter::ActOnMove(int32_t event, int32_t removedBefore)
{
    switch (event) {
    case PaiCtrl::EVENT_PRINT:
    case PaiCtrl::EVENT_NOPLAY:
        RedrawScreen(GameScreen::REDRAW_FULL);
        if (controller.RemovedCount() != removedBefore)
            ending.AfterMove();
        break;
    case PaiCtrl::EVENT_CLEAR:
        ending.AfterMove();
        if (playState == STATE_PLAYING)
            StartClearAnimation();
        else
            RedrawScreen(GameScreen::REDRAW_FULL);
        break;
    default: break;
    }
}

void PlayRouter::StartClearAnimation()
{
    playState = STATE_ANIMATING;
    clearAnimation->Start();
}

// The win is told once the last frame has gone; input that came meanwhile is
// then acted on in the order it came.
void PlayRouter::ClearAnimationFinished()
{
    playState = STATE_CLEARED;
    RedrawScreen(GameScreen::REDRAW_FULL);
    ending.Cleared();
    while (!heldInput.empty() && playState != STATE_ANIMATING) {
        const std::function<void()> action = std::move(heldInput.front());
        heldInput.pop_front();
        guard(action);
    }
}

void PlayRouter::CommandCancel()
{
    RunCommand(PaiCtrl::PAI_CANCEL);
}

void PlayRouter::CommandHint()
{
    RunCommand(PaiCtrl::PAI_HINT);
}

void PlayRouter::CommandPlayback()
{
    RunCommand(PaiCtrl::PAI_PLAYBACK);
}

void PlayRouter::TakeBackMoves(int32_t moves)
{
    for (int32_t k = 0; k < moves; ++k)
        CommandPlayback();
}

void PlayRouter::RunCommand(int32_t pseudoId)
{
    const int32_t removedBefore = controller.RemovedCount();
    if (controller.ClickPai(pseudoId) == PaiCtrl::EVENT_PRINT)
        RedrawScreen(GameScreen::REDRAW_FULL);
    if (pseudoId == PaiCtrl::PAI_HINT)
        ending.AfterHint();
    else if (controller.RemovedCount() < removedBefore)
        ending.AfterTakeBack();
}

void PlayRouter::RedrawScreen(int32_t level)
{
    screen.Redraw(level, {focusX, focusY}, game.Caption());
}
