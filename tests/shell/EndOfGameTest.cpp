#include "ShellTestSupport.h"

#include "EndOfGame.h"
#include "FormQues.h"
#include "FormSub.h"
#include "GameFolders.h"
#include "Language.h"
#include "PositionWatcher.h"
#include "Solver.h"

#include <QFileInfo>

#include <deque>
#include <map>

namespace {

// Answers each box by its title with the next scripted button, else with its
// last button (the one that dismisses it); records what was asked.
class ScriptedAnswers {
public:
    ScriptedAnswers()
        : previous_(SetMessageHandler([this](const MessageRequest& request) {
              requests.push_back(request);
              std::deque<int>& script = answers[request.title];
              if (script.empty())
                  return request.choices.empty() ? MessageResult::Ok
                                                 : ChoiceResult(static_cast<int>(request.choices.size()) - 1);
              const int choice = script.front();
              script.pop_front();
              return ChoiceResult(choice);
          }))
    {
    }
    ~ScriptedAnswers() { SetMessageHandler(std::move(previous_)); }

    int Count(const std::string& title) const
    {
        return static_cast<int>(std::ranges::count(requests, title, &MessageRequest::title));
    }

    std::map<std::string, std::deque<int>> answers;
    std::vector<MessageRequest> requests;

private:
    MessageHandler previous_;
};

// Verdicts of the worker that have come in so far are delivered.
void DeliverVerdicts(ModuleMain& module)
{
    module.Ending().Watcher().WaitUntilIdle();
    QCoreApplication::processEvents();
}

// Takes the first free pair the cursor reaches; false when there is none.
bool TakeFirstPair(ModuleMain& module)
{
    const auto [a, b] = FreePair(module.Controller());
    if (a < 0)
        return false;
    ClickTile(module.Form(), module.Controller(), a);
    ClickTile(module.Form(), module.Controller(), b);
    return true;
}

// Playing the first free pair each time, this deal is lost after 11 moves
// and ends without a set to take after 38.
constexpr int kGreedyLosesProblem = 4;

// The statistics file in the player's data folder (empty for each test).
QString StatsPath()
{
    return GameFolders::UserFolder() + QStringLiteral("/stats.txt");
}

// Plays until the dead-end box has been shown once more (or no pair is left);
// the box waits for the search of the way back.
void PlayUntilStuck(ModuleMain& module, const ScriptedAnswers& answers)
{
    const int shown = answers.Count("手詰まり");
    while (answers.Count("手詰まり") == shown && TakeFirstPair(module)) {
    }
    DeliverVerdicts(module);
}

const std::vector<std::string> kDeadEndChoices{"一手戻す", "混ぜ直す", "やり直し", "新しいゲーム", "閉じる"};

// The box's buttons after the way back, and how many lead them (0 or 1).
int WayBackButtons(const MessageRequest& box)
{
    return box.choices.size() > kDeadEndChoices.size() ? 1 : 0;
}

TEST(EndOfGameTest, DeadEndBoxOffersTakeBackShuffleRestartAndNewGame)
{
    ScriptedAnswers answers;
    auto module = StartModule(TestName(), ClassicGame(kGreedyLosesProblem));
    PaiCtrl& controller = module->Controller();
    PlayUntilStuck(*module, answers);
    const int32_t stuckCount = controller.GetPaiCount();
    ASSERT_GT(stuckCount, 0);
    ASSERT_EQ(answers.Count("手詰まり"), 1);
    const MessageRequest box = answers.requests.back();
    const int lead = WayBackButtons(box);
    EXPECT_EQ(box.text.rfind("取れる牌がなくなりました。", 0), 0U);
    EXPECT_EQ(std::vector<std::string>(box.choices.begin() + lead, box.choices.end()), kDeadEndChoices);
    EXPECT_EQ(controller.GetPaiCount(), stuckCount) << "閉じる changes nothing";

    TapKey(module->Form(), Qt::Key_H);
    EXPECT_EQ(answers.Count("手詰まり"), 2) << "the hint key shows it again";

    answers.answers["手詰まり"] = {lead};
    TapKey(module->Form(), Qt::Key_H);
    EXPECT_EQ(controller.GetPaiCount(), stuckCount) << "nothing changes while the notice is handled";
    QCoreApplication::processEvents();
    EXPECT_EQ(controller.GetPaiCount(), stuckCount + 2) << "一手戻す";
    EXPECT_EQ(module->Ending().TakeBacks(), 1);

    answers.answers["手詰まり"] = {lead + 2};
    PlayUntilStuck(*module, answers);
    QCoreApplication::processEvents();
    EXPECT_EQ(controller.GetPaiCount(), 144) << "やり直し";
    EXPECT_EQ(controller.RemovedCount(), 0);

    answers.answers["手詰まり"] = {lead + 3};
    PlayUntilStuck(*module, answers);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    auto dialogShown = std::make_shared<QString>();
    HideModalWhenOpen(dialogShown);
    QCoreApplication::processEvents();
    EXPECT_EQ(*dialogShown, QStringLiteral("FormQues")) << "新しいゲーム opens the selection dialog";
    EXPECT_EQ(answers.Count("手詰まり"), 5);

    answers.answers["手詰まり"] = {lead + 1};
    TapKey(module->Form(), Qt::Key_H);
    QCoreApplication::processEvents();
    EXPECT_EQ(module->Ending().Shuffles(), 1) << "混ぜ直す";
    EXPECT_EQ(Solve(controller.Board()).verdict, SolverResult::Verdict::Winnable);
}

TEST(EndOfGameTest, DeadEndBoxLeadsWithTheWayBackToAWinnablePosition)
{
    ScriptedAnswers answers;
    auto module = StartModule(TestName(), ClassicGame(kGreedyLosesProblem));
    answers.answers["手詰まり"] = {0};
    PlayUntilStuck(*module, answers);
    ASSERT_EQ(answers.Count("手詰まり"), 1);
    const MessageRequest box = answers.requests.back();
    ASSERT_EQ(WayBackButtons(box), 1) << "the search found the way back";
    const int32_t movesBack = std::stoi(box.choices[0]);
    EXPECT_EQ(box.choices[0], std::to_string(movesBack) + "手戻す");
    EXPECT_NE(box.text.find(std::to_string(movesBack) + "手戻すと解ける局面に戻ります。"), std::string::npos);
    QCoreApplication::processEvents();
    EXPECT_EQ(module->Ending().TakeBacks(), movesBack);
    EXPECT_EQ(Solve(module->Controller().Board()).verdict, SolverResult::Verdict::Winnable);
}

TEST(EndOfGameTest, WithAutoHintTheLosingMoveIsAnnouncedWithTheWayBack)
{
    ScriptedAnswers answers;
    auto module = StartModule(TestName(), ClassicGame(kGreedyLosesProblem));
    PaiCtrl& controller = module->Controller();
    module->PanelCommand(ModuleMain::PANEL_AUTOHINT_ON);
    answers.answers["解けない局面"] = {0, 1};

    while (answers.Count("解けない局面") == 0 && TakeFirstPair(*module))
        DeliverVerdicts(*module);
    QCoreApplication::processEvents();
    ASSERT_EQ(answers.Count("解けない局面"), 1);
    const MessageRequest& notice = answers.requests.back();
    EXPECT_EQ(notice.text, "この手で解けなくなりました。\n1手戻すと解ける局面に戻ります。");
    EXPECT_EQ(notice.choices, (std::vector<std::string>{"戻す", "続ける"}));
    EXPECT_EQ(Solve(controller.Board()).verdict, SolverResult::Verdict::Winnable) << "戻す went back";
    EXPECT_EQ(module->Ending().TakeBacks(), 1);

    // The same move again is announced again; answered 続ける, nothing more
    // is said until the dead end.
    const int32_t winnableAt = controller.RemovedCount();
    ASSERT_TRUE(TakeFirstPair(*module));
    DeliverVerdicts(*module);
    EXPECT_EQ(answers.Count("解けない局面"), 2);
    EXPECT_EQ(controller.RemovedCount(), winnableAt + 2) << "続ける";
    while (TakeFirstPair(*module))
        DeliverVerdicts(*module);
    EXPECT_EQ(answers.Count("解けない局面"), 2);
    EXPECT_EQ(answers.Count("手詰まり"), 1);
}

TEST(EndOfGameTest, WithoutAutoHintTheHintKeyTellsTheWayBackOnce)
{
    ScriptedAnswers answers;
    auto module = StartModule(TestName(), ClassicGame(kGreedyLosesProblem));
    PaiCtrl& controller = module->Controller();
    int32_t moves = 0;
    while (Solve(controller.Board()).verdict != SolverResult::Verdict::Unwinnable) {
        ASSERT_TRUE(TakeFirstPair(*module));
        ++moves;
    }
    ASSERT_TRUE(TakeFirstPair(*module));
    ASSERT_TRUE(TakeFirstPair(*module));
    DeliverVerdicts(*module);
    EXPECT_EQ(answers.Count("解けない局面"), 0) << "no nagging";

    TapKey(module->Form(), Qt::Key_H);
    EXPECT_EQ(controller.LastAction(), PaiCtrl::PAI_HINT) << "the hint is shown as ever";
    ASSERT_EQ(answers.Count("解けない局面"), 1);
    EXPECT_EQ(answers.requests.back().text, "この局面からはもう解けません。\n3手戻すと解ける局面に戻ります。");
    TapKey(module->Form(), Qt::Key_H);
    EXPECT_EQ(answers.Count("解けない局面"), 1) << "said once";
    EXPECT_EQ(module->Ending().Hints(), 2);
    EXPECT_EQ(moves, 11);
}

// The deal's own play-out, set by set from the given one.
void PlayAnswer(ModuleMain& module, int32_t firstSet, int32_t sets)
{
    const std::vector<int32_t> answer = module.Controller().Board().RemovalOrder();
    for (int32_t k = firstSet * 2; k < (firstSet + sets) * 2; ++k)
        ClickTile(module.Form(), module.Controller(), answer[k]);
    FinishClearAnimation(module);
}

void SendActivation(FormMain& form, QEvent::Type type)
{
    QEvent event(type);
    QApplication::sendEvent(&form, &event);
}

TEST(EndOfGameTest, WinNoticeTellsTimeHintsTakeBacksAndBestTimeWhichTheStatisticsKeep)
{
    const QString statsPath = StatsPath();
    ScriptedAnswers answers;
    auto module = StartModule(TestName(), ClassicGame(11));
    FormMain& form = module->Form();
    int64_t now = 0;
    module->Ending().UseClock([&] { return now; });
    SendActivation(form, QEvent::WindowActivate);

    PlayAnswer(*module, 0, 30);
    now += 60'000;
    TapKey(form, Qt::Key_H);
    TapKey(form, Qt::Key_Backspace);
    PlayAnswer(*module, 29, 1);
    QTimer::singleShot(0, [&] {
        now += 600'000;
        module->SidePanel().hide();
    });
    module->ShowOptions();
    SendActivation(form, QEvent::WindowDeactivate);
    now += 300'000;
    SendActivation(form, QEvent::WindowActivate);
    now += 5'000;
    EXPECT_EQ(module->Ending().PlayedMs(), 65'000) << "the panel and another window stop the clock";
    PlayAnswer(*module, 30, 42);

    ASSERT_EQ(answers.Count("クリア"), 1);
    EXPECT_EQ(answers.requests.back().text, "クリアしました。\nプレイ時間: 1分05秒\nヒント: 1回　戻した手: 1手\n"
                                            "この陣形の最短記録: 1分05秒（新記録）\nクリア 1回 / 開始 1回");
    EXPECT_EQ(answers.requests.back().choices, (std::vector<std::string>{"新しいゲーム", "閉じる"}));
    now += 30'000;
    EXPECT_EQ(module->Ending().PlayedMs(), 65'000) << "the clock stops with the last move";

    const LayoutRecord record = PlayRecords(statsPath.toStdString()).Of("classic.tvm");
    EXPECT_EQ(record.started, 1);
    EXPECT_EQ(record.won, 1);
    EXPECT_EQ(record.bestMs, 65'000);
    EXPECT_EQ(record.lastProblem, 11);

    // A restart after the win replays a known deal: told, but not recorded.
    module->PanelCommand(ModuleMain::PANEL_RESTART);
    now += 2'000;
    PlayAnswer(*module, 0, 72);
    ASSERT_EQ(answers.Count("クリア"), 2);
    EXPECT_EQ(answers.requests.back().text, "クリアしました。\nプレイ時間: 0分02秒\nヒント: 0回　戻した手: 0手\n"
                                            "この陣形の最短記録: 1分05秒\nやり直したゲームは記録に残りません。");
    EXPECT_EQ(PlayRecords(statsPath.toStdString()).Of("classic.tvm").won, 1);
}

TEST(EndOfGameTest, GameContinuedFromASaveIsTimedFromTheLoadAndNotRecorded)
{
    const QString statsPath = StatsPath();
    QDir().mkpath(QFileInfo(statsPath).path());
    QFile damaged(statsPath);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not statistics\n");
    damaged.close();

    ScriptedAnswers answers;
    auto module = StartModule(TestName(), ClassicGame(11));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(module->Ending().Records().SetAsidePath()))) << "set aside";
    EXPECT_EQ(module->Ending().Records().Of("classic.tvm").started, 1) << "and started afresh";
    int64_t now = 0;
    module->Ending().UseClock([&] { return now; });
    SendActivation(module->Form(), QEvent::WindowActivate);

    PlayAnswer(*module, 0, 10);
    ASSERT_TRUE(module->PanelCommand(ModuleMain::PANEL_SAVE));
    PlayAnswer(*module, 10, 5);
    now += 40'000;
    module->PanelCommand(ModuleMain::PANEL_LOAD);
    now += 7'000;
    PlayAnswer(*module, 10, 62);
    ASSERT_EQ(answers.Count("クリア"), 1);
    EXPECT_EQ(answers.requests.back().text, "クリアしました。\nプレイ時間: 0分07秒\nヒント: 0回　戻した手: 0手\n"
                                            "保存から続けたゲームは記録に残りません。");
    EXPECT_EQ(PlayRecords(statsPath.toStdString()).Of("classic.tvm").won, 0);
}

TEST(EndOfGameTest, PlayTimeReadsInMinutesAndHoursInEitherLanguage)
{
    EXPECT_EQ(EndOfGame::FormatPlayTime(0), QStringLiteral("0分00秒"));
    EXPECT_EQ(EndOfGame::FormatPlayTime(59'999), QStringLiteral("0分59秒"));
    EXPECT_EQ(EndOfGame::FormatPlayTime(600'000), QStringLiteral("10分00秒"));
    EXPECT_EQ(EndOfGame::FormatPlayTime(3'723'000), QStringLiteral("1時間02分03秒"));
    ASSERT_TRUE(InstallLanguage(UiLanguage::English));
    EXPECT_EQ(EndOfGame::FormatPlayTime(3'723'000), QStringLiteral("1:02:03"));
    EXPECT_EQ(EndOfGame::FormatPlayTime(65'000), QStringLiteral("1:05"));
    InstallLanguage(UiLanguage::Japanese);
}

} // namespace
