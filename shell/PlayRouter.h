#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

class ClearAnimation;
class CurrentGame;
class EndOfGame;
class GameScreen;
class PaiCtrl;

// Carries the main window's input to the game controller and the button bar,
// redraws as much as each change needs, and runs the clear animation. Input
// that comes during the animation is held and acted on in order once it ends.
class PlayRouter {
public:
    static constexpr int32_t STATE_PLAYING = 0;
    static constexpr int32_t STATE_CLEARED = 1;
    static constexpr int32_t STATE_ANIMATING = 2;

    // Runs work from the event loop, showing an error rather than passing it on.
    using Guard = std::function<void(const std::function<void()>&)>;

    // showMenu opens the side panel (the button bar's menu button).
    PlayRouter(PaiCtrl& controller, GameScreen& screen, const CurrentGame& game, EndOfGame& ending,
               std::function<void()> showMenu, Guard guard);
    ~PlayRouter();
    PlayRouter(const PlayRouter&) = delete;
    PlayRouter& operator=(const PlayRouter&) = delete;

    // Runs input now, or once the clear animation has ended when it runs.
    void WhenSettled(std::function<void()> action);

    void FocusAt(int32_t x, int32_t y);
    void ClickAt(int32_t x, int32_t y);
    void CommandCancel();
    void CommandHint();
    void CommandPlayback();
    // Puts back the set most recently taken back, as a move.
    void CommandRedo();
    void TakeBackMoves(int32_t moves);
    void RedrawScreen(int32_t level);
    // A new, restarted or loaded game: a clear animates again.
    void Resume() { playState = STATE_PLAYING; }

    int32_t FocusX() const { return focusX; }
    int32_t FocusY() const { return focusY; }
    int32_t LastFocusID() const { return lastFocusID; }
    int32_t PlayState() const { return playState; }

private:
    void RunCommand(int32_t pseudoId);
    void ActOnMove(int32_t event, int32_t removedBefore);
    void StartClearAnimation();
    void ClearAnimationFinished();

    PaiCtrl& controller;
    GameScreen& screen;
    const CurrentGame& game;
    EndOfGame& ending;
    std::function<void()> showMenu;
    Guard guard;
    std::unique_ptr<ClearAnimation> clearAnimation;

    int32_t focusX = 0;
    int32_t focusY = 0;
    int32_t lastFocusID = 0;
    int32_t playState = STATE_PLAYING;
    // Input that came during the clear animation, in order.
    std::deque<std::function<void()>> heldInput;
};
