#include "EndOfGame.h"

#include "FormMain.h"
#include "MessageBox.h"
#include "ModuleMain.h"
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

enum DeadEndChoice { DEAD_END_TAKE_BACK, DEAD_END_RESTART, DEAD_END_NEW_GAME, DEAD_END_CLOSE };
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

EndOfGame::EndOfGame(ModuleMain& module, QWidget& window, const std::string& recordsPath, PositionJudge judge,
                     RecordsText::OwnCheck isOwn)
    : module_(module), window_(window), records_(recordsPath, std::move(isOwn)),
      watcher_(std::make_unique<PositionWatcher>(std::move(judge))), windowActive_(window.isActiveWindow())
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
    toldLoss_ = -1;
    cleared_ = module_.Controller().GetPaiCount() == 0;
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
        cleared_ = false;
        clock_.Reset();
        UpdateClock();
    }
    PositionChanged(false);
}

void EndOfGame::AfterMove()
{
    PositionChanged(true);
    if (module_.Controller().GetPaiCount() == 0) {
        cleared_ = true;
        UpdateClock();
    } else if (DeadEnd()) {
        ShowDeadEnd();
    }
}

void EndOfGame::AfterTakeBack()
{
    ++takeBacks_;
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
    if (module_.Controller().Board().Hint())
        ++hints_;
    hintAsked_ = true;
    TellWhenLost();
}

bool EndOfGame::DeadEnd() const
{
    const PaiCtrl& controller = module_.Controller();
    return started_ && controller.GetPaiCount() > 0 && !controller.Board().Hint();
}

void EndOfGame::PositionChanged(bool byMove)
{
    const PaiCtrl& controller = module_.Controller();
    ++position_;
    judged_.reset();
    byMove_ = byMove;
    hintAsked_ = false;
    if (controller.RemovedCount() <= toldLoss_)
        toldLoss_ = -1;
    if (controller.GetPaiCount() > 0 && !DeadEnd())
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
    module_.Form().Guarded([this] { TellWhenLost(); });
}

void EndOfGame::TellLater()
{
    QMetaObject::invokeMethod(
        this, [this] { module_.Form().Guarded([this] { TellWhenLost(); }); }, Qt::QueuedConnection);
}

// Told once for each place the game was lost: at once after the move when
// auto-hint is on, else when the player asks for a hint.
void EndOfGame::TellWhenLost()
{
    if (pauseDepth_ > 0 || module_.PlayState() == ModuleMain::STATE_ANIMATING)
        return;
    if (!judged_ || judged_->now != Outlook::Unwinnable || judged_->movesBack < 1)
        return;
    const PaiCtrl& controller = module_.Controller();
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
        TakeBack(movesBack);
}

void EndOfGame::ShowDeadEnd()
{
    const PauseScope pause(*this);
    const MessageResult answer = ShowMessage(Notice(tr("取れる牌がなくなりました。"), tr("手詰まり"),
                                                    {tr("一手戻す"), tr("やり直し"), tr("新しいゲーム"), tr("閉じる")}));
    switch (ChoiceIndex(answer)) {
    case DEAD_END_TAKE_BACK: TakeBack(1); break;
    case DEAD_END_RESTART: module_.PanelCommand(ModuleMain::PANEL_RESTART); break;
    case DEAD_END_NEW_GAME: module_.PanelCommand(ModuleMain::PANEL_NEWGAME); break;
    default: break;
    }
}

void EndOfGame::TakeBack(int32_t moves)
{
    for (int32_t k = 0; k < moves; ++k)
        module_.CommandPlayback();
}

void EndOfGame::Cleared()
{
    std::optional<bool> newBest;
    if (!loaded_ && !replay_)
        Record([&] { newBest = records_.GameWon(layout_, clock_.ElapsedMs()); });
    ShowWin(newBest);
}

void EndOfGame::ShowWin(std::optional<bool> newBest)
{
    const PauseScope pause(*this);
    const MessageResult answer =
        ShowMessage(Notice(WinText(newBest), tr("クリア"), {tr("新しいゲーム"), tr("閉じる")}));
    if (ChoiceIndex(answer) == WIN_NEW_GAME)
        module_.PanelCommand(ModuleMain::PANEL_NEWGAME);
}

QString EndOfGame::WinText(std::optional<bool> newBest) const
{
    QStringList lines{tr("クリアしました。"), tr("プレイ時間: %1").arg(FormatPlayTime(clock_.ElapsedMs())),
                      tr("ヒント: %1回　戻した手: %2手").arg(hints_).arg(takeBacks_)};
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
