#include "EndOfGame.h"

#include "GameCommands.h"
#include "MessageBox.h"
#include "PaiCtrl.h"
#include "PaiStructure.h"
#include "PositionWatcher.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <iostream>
#include <utility>

namespace {

// Another instance holds the statistics only for the moment of a write.
constexpr int kRecordRetryMs = 250;

enum DeadEndChoice { DEAD_END_TAKE_BACK, DEAD_END_SHUFFLE, DEAD_END_RESTART, DEAD_END_NEW_GAME, DEAD_END_CLOSE };
// How long a dead end waits for the way back before its box opens without it.
constexpr int kAdviceWaitMs = 2000;
enum WayBackChoice { WAY_BACK_TAKE_BACK, WAY_BACK_CONTINUE };
enum WinChoice { WIN_NEW_GAME, WIN_CLOSE };

QString Padded(int64_t value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// Message boxes take UTF-8.
MessageRequest Notice(const QString& text, const QString& title, const QStringList& choices)
{
    std::vector<std::string> labels;
    for (const QString& choice : choices)
        labels.push_back(choice.toStdString());
    return {text.toStdString(), title.toStdString(), MessageButtons::Ok, MessageIcon::Information, labels};
}

} // namespace

EndOfGame::EndOfGame(GameCommands& game, QWidget& window, const std::string& recordsPath, PositionJudge judge,
                     Guard guard, RecordsText::OwnCheck isOwn)
    : game_(game), window_(window), records_(recordsPath, std::move(isOwn)),
      watcher_(std::make_unique<PositionWatcher>(std::move(judge))), guard_(std::move(guard)),
      windowActive_(window.isActiveWindow())
{
    if (!records_.SetAsidePath().empty())
        std::cerr << "tovrik: what could not be read of the statistics file was kept aside in "
                  << records_.SetAsidePath() << "; the good records stay\n";
    connect(watcher_.get(), &PositionWatcher::Judged, this, &EndOfGame::OnJudged, Qt::QueuedConnection);
    window_.installEventFilter(this);
}

EndOfGame::~EndOfGame()
{
    window_.removeEventFilter(this);
}

void EndOfGame::UseClock(PlayClock::Source source)
{
    clock_ = PlayClock(std::move(source));
    clock_.Reset();
    UpdateClock();
}

QString EndOfGame::FormatPlayTime(int64_t ms)
{
    const int64_t seconds = ms / 1000;
    if (seconds >= 3600)
        return tr("%1時間%2分%3秒").arg(seconds / 3600).arg(Padded(seconds / 60 % 60), Padded(seconds % 60));
    return tr("%1分%2秒").arg(seconds / 60).arg(Padded(seconds % 60));
}

void EndOfGame::Record(const std::function<void()>& change)
{
    // Statistics that cannot be written must not stop the game.
    try {
        change();
    } catch (const std::exception& error) {
        std::cerr << "tovrik: the statistics could not be saved: " << error.what() << '\n';
        return;
    }
    // Only a lock held by another instance leaves a change pending without an error.
    if (records_.Pending())
        FlushLater();
}

void EndOfGame::FlushLater()
{
    QTimer::singleShot(kRecordRetryMs, this, [this] { Record([this] { records_.Flush(); }); });
}

void EndOfGame::NewGame()
{
    started_ = true;
    replay_ = false;
    hints_ = 0;
    takeBacks_ = 0;
    shuffles_ = 0;
    toldLoss_ = -1;
    cleared_ = game_.Position().GetPaiCount() == 0;
    clock_.Reset();
    UpdateClock();
    PositionChanged(false);
}

void EndOfGame::GameStarted(const std::string& layout, int32_t problem)
{
    layout_ = layout;
    loaded_ = false;
    Record([&] { records_.GameStarted(layout, problem); });
    NewGame();
}

// The save does not say which layout it holds, so its win is not recorded.
void EndOfGame::GameLoaded()
{
    loaded_ = true;
    NewGame();
}

// A restart plays on in the same game; after the win it starts a replay of a
// deal already known, whose time no longer counts.
void EndOfGame::Restarted()
{
    if (cleared_) {
        replay_ = true;
        hints_ = 0;
        takeBacks_ = 0;
        shuffles_ = 0;
        cleared_ = false;
        clock_.Reset();
        UpdateClock();
    }
    PositionChanged(false);
}

void EndOfGame::AfterMove()
{
    PositionChanged(true);
    if (game_.Position().GetPaiCount() == 0) {
        cleared_ = true;
        UpdateClock();
    } else if (DeadEnd()) {
        AwaitDeadEndAdvice();
    }
}

void EndOfGame::AfterTakeBack()
{
    ++takeBacks_;
    PositionChanged(false);
}

void EndOfGame::Shuffled()
{
    ++shuffles_;
    PositionChanged(false);
}

void EndOfGame::AfterHint()
{
    if (!started_)
        return;
    if (DeadEnd()) {
        ShowDeadEnd();
        return;
    }
    if (game_.Position().Board().Hint())
        ++hints_;
    hintAsked_ = true;
    TellWhenLost();
}

bool EndOfGame::DeadEnd() const
{
    const PaiCtrl& controller = game_.Position();
    return started_ && controller.GetPaiCount() > 0 && !controller.Board().Hint();
}

void EndOfGame::PositionChanged(bool byMove)
{
    const PaiCtrl& controller = game_.Position();
    ++position_;
    judged_.reset();
    byMove_ = byMove;
    hintAsked_ = false;
    deadEndPending_ = false;
    if (controller.RemovedCount() <= toldLoss_)
        toldLoss_ = -1;
    // A dead end is judged too: the search finds the way back to a winnable position.
    if (controller.GetPaiCount() > 0)
        watcher_->Watch(position_, controller.Board(), controller.History(), controller.RemovedCount());
    else
        watcher_->Forget();
}

void EndOfGame::OnJudged(quint64 position, WayBack way)
{
    // A verdict on a position the game has left behind is of no use.
    if (position != position_)
        return;
    judged_ = way;
    guard_([this] { TellWhenLost(); });
}

void EndOfGame::TellLater()
{
    QMetaObject::invokeMethod(
        this, [this] { guard_([this] { TellWhenLost(); }); }, Qt::QueuedConnection);
}

// Told once for each place the game was lost: at once after the move when
// auto-hint is on, else when the player asks for a hint.
void EndOfGame::TellWhenLost()
{
    if (pauseDepth_ > 0 || game_.Animating())
        return;
    if (DeadEnd()) {
        if (deadEndPending_ && judged_)
            ShowDeadEnd();
        return;
    }
    if (!judged_ || judged_->now != Outlook::Unwinnable || judged_->movesBack < 1)
        return;
    const PaiCtrl& controller = game_.Position();
    if (!hintAsked_ && !(byMove_ && controller.AutoHint()))
        return;
    const int32_t lossAt = controller.RemovedCount() - judged_->movesBack * controller.Board().Once();
    if (lossAt == toldLoss_)
        return;
    toldLoss_ = lossAt;
    hintAsked_ = false;
    TellWayBack(judged_->movesBack);
}

void EndOfGame::TellWayBack(int32_t movesBack)
{
    const bool thisMove = byMove_ && movesBack == 1;
    const QString text = (thisMove ? tr("この手で解けなくなりました。") : tr("この局面からはもう解けません。")) +
                         u'\n' + tr("%n手戻すと解ける局面に戻ります。", nullptr, movesBack);
    const PauseScope pause(*this);
    const MessageResult answer = ShowMessage(Notice(text, tr("解けない局面"), {tr("戻す"), tr("続ける")}));
    if (ChoiceIndex(answer) == WAY_BACK_TAKE_BACK)
        RunAfterNotice([this, movesBack] { game_.TakeBack(movesBack); });
}

// The box opens when the way back is known, or after a short wait without it.
void EndOfGame::AwaitDeadEndAdvice()
{
    deadEndPending_ = true;
    const quint64 position = position_;
    QTimer::singleShot(kAdviceWaitMs, this, [this, position] {
        if (deadEndPending_ && position == position_ && pauseDepth_ == 0)
            guard_([this] { ShowDeadEnd(); });
    });
}

// Best advice first: the way back to a winnable position when the search has
// found one.
void EndOfGame::ShowDeadEnd()
{
    deadEndPending_ = false;
    const int32_t movesBack = judged_ && judged_->now == Outlook::Unwinnable ? judged_->movesBack : 0;
    QString text = tr("取れる牌がなくなりました。");
    if (movesBack > 0)
        text += u'\n' + tr("%n手戻すと解ける局面に戻ります。", nullptr, movesBack);
    const PauseScope pause(*this);
    const int choice = ChoiceIndex(ShowMessage(Notice(text, tr("手詰まり"), DeadEndChoices(movesBack))));
    if (movesBack > 0 && choice == 0) {
        RunAfterNotice([this, movesBack] { game_.TakeBack(movesBack); });
        return;
    }
    switch (choice - (movesBack > 0 ? 1 : 0)) {
    case DEAD_END_TAKE_BACK: RunAfterNotice([this] { game_.TakeBack(1); }); break;
    case DEAD_END_SHUFFLE: RunAfterNotice([this] { game_.Shuffle(); }); break;
    case DEAD_END_RESTART: RunAfterNotice([this] { game_.Restart(); }); break;
    case DEAD_END_NEW_GAME: RunAfterNotice([this] { game_.NewGame(); }); break;
    default: break;
    }
}

QStringList EndOfGame::DeadEndChoices(int32_t movesBack) const
{
    QStringList choices{tr("一手戻す"), tr("混ぜ直す"), tr("やり直し"), tr("新しいゲーム"), tr("閉じる")};
    if (movesBack > 0)
        choices.prepend(tr("%n手戻す", nullptr, movesBack));
    return choices;
}

// Run from the event loop: the notice's own handling is over before the game
// changes, and nothing that command tells can reach into it.
void EndOfGame::RunAfterNotice(std::function<void()> command)
{
    QMetaObject::invokeMethod(this, [this, command = std::move(command)] { guard_(command); }, Qt::QueuedConnection);
}

void EndOfGame::Cleared()
{
    std::optional<bool> newBest;
    // A shuffled deal is not the deal the best time stands for.
    const int64_t time = shuffles_ > 0 ? LayoutRecord::kNoTime : clock_.ElapsedMs();
    if (!loaded_ && !replay_)
        Record([&] { newBest = records_.GameWon(layout_, time); });
    ShowWin(newBest);
}

void EndOfGame::ShowWin(std::optional<bool> newBest)
{
    const PauseScope pause(*this);
    const MessageResult answer =
        ShowMessage(Notice(WinText(newBest), tr("クリア"), {tr("新しいゲーム"), tr("閉じる")}));
    if (ChoiceIndex(answer) == WIN_NEW_GAME)
        RunAfterNotice([this] { game_.NewGame(); });
}

QString EndOfGame::WinText(std::optional<bool> newBest) const
{
    QStringList lines{tr("クリアしました。"), tr("プレイ時間: %1").arg(FormatPlayTime(clock_.ElapsedMs())),
                      tr("ヒント: %1回　戻した手: %2手").arg(hints_).arg(takeBacks_)};
    if (shuffles_ > 0)
        lines << tr("混ぜ直し: %1回（最短記録は残りません）").arg(shuffles_);
    if (loaded_) {
        lines << tr("保存から続けたゲームは記録に残りません。");
        return lines.join(u'\n');
    }
    const LayoutRecord record = records_.Of(layout_);
    const QString best = record.bestMs == LayoutRecord::kNoTime ? tr("なし") : FormatPlayTime(record.bestMs);
    lines << tr("この陣形の最短記録: %1").arg(best) + (newBest.value_or(false) ? tr("（新記録）") : QString());
    if (replay_)
        lines << tr("やり直したゲームは記録に残りません。");
    else
        lines << tr("クリア %1回 / 開始 %2回").arg(record.won).arg(record.started);
    return lines.join(u'\n');
}

EndOfGame::PauseScope::PauseScope(EndOfGame& ending) : ending(ending)
{
    ++ending.pauseDepth_;
    ending.UpdateClock();
}

EndOfGame::PauseScope::~PauseScope()
{
    --ending.pauseDepth_;
    ending.UpdateClock();
    // A verdict that came while the dialog was open is told once it is gone.
    if (ending.pauseDepth_ == 0)
        ending.TellLater();
}

void EndOfGame::SetGamePaused(bool paused)
{
    if (paused && !gamePause_)
        gamePause_ = std::make_unique<PauseScope>(*this);
    else if (!paused)
        gamePause_.reset();
}

void EndOfGame::UpdateClock()
{
    clock_.SetRunning(started_ && !cleared_ && windowActive_ && pauseDepth_ == 0);
}

bool EndOfGame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate) {
        windowActive_ = event->type() == QEvent::WindowActivate;
        UpdateClock();
    }
    return QObject::eventFilter(watched, event);
}
