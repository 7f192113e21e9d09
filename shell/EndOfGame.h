#pragma once

#include "PlayClock.h"
#include "PlayRecords.h"
#include "WayBack.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class GameCommands;
class PositionWatcher;
class QWidget;

// How a game ends, told to the player: the dead end where no set is left,
// the move after which the deal can no longer be cleared (found by judging
// every new position on a worker thread), and the win with the time played
// and the layout's statistics. The module reports every change of the game;
// a command chosen in a notice runs once the notice has closed.
class EndOfGame : public QObject {
    Q_OBJECT

public:
    // Runs work from the event loop, showing an error rather than passing it on.
    using Guard = std::function<void(const std::function<void()>&)>;

    // isOwn tells the statistics which names of an old file were the player's own layouts.
    EndOfGame(GameCommands& game, QWidget& window, const std::string& recordsPath, PositionJudge judge, Guard guard,
              RecordsText::OwnCheck isOwn = {});
    ~EndOfGame() override;

    // What happened to the game; layout is the statistics key of its layout.
    void GameStarted(const std::string& layout, int32_t problem);
    void GameLoaded();
    void Restarted();
    void AfterMove();
    void AfterTakeBack();
    void AfterHint();
    // The faces of the tiles left were shuffled.
    void Shuffled();
    // The clear animation of the game has run.
    void Cleared();

    // A dialog, the side panel or a notice is open: the clock stops and
    // notices wait until it is closed.
    class PauseScope {
    public:
        explicit PauseScope(EndOfGame& ending);
        ~PauseScope();
        PauseScope(const PauseScope&) = delete;
        PauseScope& operator=(const PauseScope&) = delete;

    private:
        EndOfGame& ending;
    };

    // The player paused the game: the clock stops and notices wait, as under
    // a dialog, until it goes on.
    void SetGamePaused(bool paused);

    // For tests: another time source for the play clock, and the state.
    void UseClock(PlayClock::Source source);
    PositionWatcher& Watcher() const { return *watcher_; }
    const PlayRecords& Records() const { return records_; }
    int64_t PlayedMs() const { return clock_.ElapsedMs(); }
    int32_t Hints() const { return hints_; }
    int32_t TakeBacks() const { return takeBacks_; }
    int32_t Shuffles() const { return shuffles_; }

    static QString FormatPlayTime(int64_t ms);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void NewGame();
    void PositionChanged(bool byMove);
    bool DeadEnd() const;
    void OnJudged(quint64 position, WayBack way);
    void TellWhenLost();
    void TellLater();
    void AwaitDeadEndAdvice();
    void ShowDeadEnd();
    QStringList DeadEndChoices(int32_t movesBack) const;
    void TellWayBack(int32_t movesBack);
    void ShowWin(std::optional<bool> newBest);
    QString WinText(std::optional<bool> newBest) const;
    void RunAfterNotice(std::function<void()> command);
    void UpdateClock();
    void Record(const std::function<void()>& change);
    void FlushLater();

    GameCommands& game_;
    QWidget& window_;
    PlayRecords records_;
    PlayClock clock_;
    std::unique_ptr<PositionWatcher> watcher_;
    Guard guard_;

    std::string layout_;
    bool started_ = false;
    bool loaded_ = false;
    bool replay_ = false;
    bool cleared_ = false;
    int32_t hints_ = 0;
    int32_t takeBacks_ = 0;
    int32_t shuffles_ = 0;

    quint64 position_ = 0;
    std::optional<WayBack> judged_;
    bool byMove_ = false;
    bool hintAsked_ = false;
    // The tiles removed in the winnable position the player was last told to
    // go back to; -1 when none.
    int32_t toldLoss_ = -1;
    // A dead end waits briefly for the way back before its box opens.
    bool deadEndPending_ = false;

    bool windowActive_ = false;
    int32_t pauseDepth_ = 0;
    std::unique_ptr<PauseScope> gamePause_;
};
