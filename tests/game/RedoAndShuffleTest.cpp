#include "FaceShuffle.h"
#include "SolverJudge.h"
#include "StatusFigures.h"

#include "GameTestSupport.h"

#include <algorithm>
#include <random>
#include <set>

using namespace gametest;

namespace {

struct BoardState {
    std::vector<int16_t> present;
    std::vector<int32_t> history;
    bool operator==(const BoardState&) const = default;
};

BoardState StateOf(const PaiCtrl& ctrl)
{
    BoardState state;
    for (int32_t id = 0; id < ctrl.Board().MaxID(); ++id)
        state.present.push_back(ctrl.Board().Slot(id).Validity);
    state.history.assign(ctrl.History().begin(), ctrl.History().begin() + ctrl.RemovedCount());
    return state;
}

void PlayAnswerSets(PaiCtrl& ctrl, int32_t sets)
{
    const std::vector<int32_t>& answer = ctrl.Board().RemovalOrder();
    const int32_t from = ctrl.RemovedCount();
    for (int32_t k = from; k < from + sets * ctrl.Board().Once(); ++k)
        ctrl.ClickPai(answer[k]);
}

// Takes random sets (a fixed seed) until none is left to take.
void PlayIntoDeadEnd(PaiCtrl& ctrl, std::mt19937& random)
{
    while (ctrl.GetPaiCount() > 0 && ctrl.Board().Hint()) {
        const PaiStructure& board = ctrl.Board();
        std::vector<int32_t> hinted;
        for (int32_t id = 0; id < board.MaxID(); ++id)
            if (board.Slot(id).HintMark != 0)
                hinted.push_back(id);
        const int32_t first = hinted[random() % hinted.size()];
        int32_t taken = 0;
        for (int32_t id : hinted)
            if (board.Group(id) == board.Group(first) && taken < board.Once()) {
                ctrl.ClickPai(id);
                ++taken;
            }
    }
}

std::vector<std::pair<int32_t, int32_t>> SortedKinds(const FaceShuffle::Faces& faces)
{
    std::vector<std::pair<int32_t, int32_t>> kinds;
    for (size_t k = 0; k < faces.faces.size(); ++k)
        kinds.emplace_back(faces.faces[k], faces.groups[k]);
    std::ranges::sort(kinds);
    return kinds;
}

TEST(RedoAndShuffleTest, StatusFiguresCountTheHintedSetsAndReadTheClock)
{
    PaiCtrl ctrl;
    ctrl.GameInit(Classic(), 7, 0);
    const int32_t before = StatusFigures::TakeableSets(ctrl.Board());
    EXPECT_GT(before, 0);
    PlayAnswerSets(ctrl, 3);
    EXPECT_NE(StatusFigures::TakeableSets(ctrl.Board()), before) << "a move changes the figure";

    for (const auto& [ms, text] : std::vector<std::pair<int64_t, std::string>>{
             {0, "0:00"}, {999, "0:00"}, {61'000, "1:01"}, {3'599'999, "59:59"}, {3'600'000, "1:00:00"},
             {-5, "0:00"}})
        EXPECT_EQ(StatusFigures::ClockText(ms), text) << ms;
}

TEST(RedoAndShuffleTest, RedoAfterTakeBacksRestoresTheBoardUntilANewMove)
{
    PaiCtrl ctrl;
    ctrl.GameInit(Classic(), 7, 0);
    PlayAnswerSets(ctrl, 5);
    const BoardState played = StateOf(ctrl);
    for (int k = 0; k < 3; ++k)
        ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK);
    EXPECT_EQ(ctrl.Redoable().Size(), 3);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(ctrl.ClickPai(PaiCtrl::PAI_REDO), PaiCtrl::EVENT_PRINT);
    EXPECT_EQ(StateOf(ctrl), played);
    EXPECT_EQ(ctrl.ClickPai(PaiCtrl::PAI_REDO), PaiCtrl::EVENT_DISABLE) << "nothing left to redo";

    ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK);
    ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK);
    PlayAnswerSets(ctrl, 1);
    EXPECT_EQ(ctrl.Redoable().Size(), 0) << "a new move forgets redo";
    ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK);
    ASSERT_TRUE(ctrl.RequestRestart());
    EXPECT_EQ(ctrl.ClickPai(PaiCtrl::PAI_REDO), PaiCtrl::EVENT_DISABLE) << "a restart forgets redo";
}

TEST(RedoAndShuffleTest, ShuffleKeepsPlacesAndClassesIsRepeatableAndSurvivesSaveAndLoad)
{
    PaiCtrl ctrl;
    ctrl.GameInit(Classic(), 11, 0);
    PlayAnswerSets(ctrl, 20);
    const FaceShuffle::Faces before = FaceShuffle::Present(ctrl.Board());
    const std::vector<int16_t> places = StateOf(ctrl).present;

    const FaceShuffle::Faces first = FaceShuffle::Try(ctrl.Board(), 1, 0);
    EXPECT_EQ(first, FaceShuffle::Try(ctrl.Board(), 1, 0)) << "seeded from the position and count";
    EXPECT_NE(first, FaceShuffle::Try(ctrl.Board(), 2, 0));
    EXPECT_NE(first, before);
    EXPECT_EQ(SortedKinds(first), SortedKinds(before)) << "every class keeps its tiles";

    const auto faces = FaceShuffle::FindClearable(ctrl.Board(), 1, SolverJudge(FaceShuffle::kJudgeMs));
    ASSERT_TRUE(faces);
    ctrl.ReplaceFaces(*faces);
    EXPECT_EQ(StateOf(ctrl).present, places) << "the tiles stay in their places";
    EXPECT_EQ(FaceShuffle::Present(ctrl.Board()), *faces);

    const auto path = (FreshFolder() / "shuffled.dat").string();
    ctrl.SaveGameTo(path);
    PaiCtrl loaded;
    ASSERT_NO_THROW(loaded.LoadGameFrom(path));
    EXPECT_EQ(FaceShuffle::Present(loaded.Board()), *faces);
    ASSERT_TRUE(loaded.RequestRestart());
    EXPECT_EQ(loaded.GetPaiCount(), ctrl.Board().MaxID()) << "restart keeps the shuffled faces";
    EXPECT_EQ(FaceShuffle::Present(loaded.Board()).faces.size(), size_t(ctrl.Board().MaxID()));
}

// Layouts with sets of 2, 3 and 4 among the shipped ones. Some dead ends have
// no winnable arrangement at all (a set of four stacked in one place), so
// nearly every one, not every one, must shuffle into a winnable position.
TEST(RedoAndShuffleTest, RandomDeadEndsOfEveryShippedLayoutShuffleIntoWinnablePositions)
{
    std::mt19937 random(19);
    std::set<int32_t> setSizes;
    int32_t deadEnds = 0;
    int32_t shuffled = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TOVRIK_SOURCE_DIR "/data/template")) {
        for (int32_t problem : {3, 17, 29, 41}) {
            PaiCtrl ctrl;
            ctrl.GameInit(entry.path().string(), problem, 0);
            PlayIntoDeadEnd(ctrl, random);
            if (ctrl.GetPaiCount() == 0)
                continue;
            ++deadEnds;
            const auto faces = FaceShuffle::FindClearable(ctrl.Board(), 1, SolverJudge(FaceShuffle::kJudgeMs));
            if (!faces)
                continue;
            ++shuffled;
            setSizes.insert(ctrl.Board().Once());
            ctrl.ReplaceFaces(*faces);
            EXPECT_EQ(Solve(ctrl.Board(), {}).verdict, SolverResult::Verdict::Winnable)
                << entry.path().filename() << " problem " << problem;
        }
    }
    EXPECT_GE(deadEnds, 20);
    EXPECT_GE(shuffled * 10, deadEnds * 9) << shuffled << " of " << deadEnds << " dead ends shuffled";
    EXPECT_EQ(setSizes, (std::set<int32_t>{2, 3, 4}));
}

} // namespace
