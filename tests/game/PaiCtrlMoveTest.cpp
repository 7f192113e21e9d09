#include <algorithm>
#include <set>

#include "GameTestSupport.h"
#include "MessageBox.h"
#include "NumberedError.h"

using namespace gametest;
using Played = std::vector<std::pair<int, int>>;

namespace {

class PaiCtrlMoveTest : public testing::Test {
protected:
    PaiCtrlMoveTest()
    {
        ctrl.SetProgramFolder(folder.string());
        ctrl.SetDX7Sound(sounds.path);
        ctrl.Sounds(true);
    }

    void Start(const std::string& layout, int problem, int faceDown = 0)
    {
        ctrl.GameInit(layout, problem, faceDown);
        answer = ctrl.Board().RemovalOrder();
        sounds.Played();
    }

    // Plays the answer from set first on: every move but the last reports a
    // change, the last the clear; each set sounds a select per tile but the
    // last, then the removal.
    void PlayToTheEnd(int first = 0)
    {
        const int once = ctrl.Board().Once();
        const int sets = ctrl.Board().MaxID() / once;
        Played expected;
        for (int set = first; set < sets; ++set) {
            std::vector<int32_t> events(once, PaiCtrl::EVENT_PRINT);
            events.back() = set + 1 == sets ? PaiCtrl::EVENT_CLEAR : PaiCtrl::EVENT_PRINT;
            ASSERT_EQ(PlaySets(ctrl, answer, set, 1), events) << "set " << set;
            ASSERT_EQ(ctrl.GetPaiCount(), (sets - set - 1) * once);
            expected.insert(expected.end(), once - 1, {PaiCtrl::SOUND_SELECT, 16});
            expected.emplace_back(PaiCtrl::SOUND_REMOVE, 8);
        }
        EXPECT_EQ(sounds.Played(), expected);
    }

    int32_t Find(bool present, bool free, int32_t notOfGroup = -1) const
    {
        const PaiStructure& board = ctrl.Board();
        for (int32_t id = 0; id < board.MaxID(); ++id)
            if (board.Validity(id) == present && board.Selectable(id) == free && board.Group(id) != notOfGroup)
                return id;
        return -1;
    }

    int32_t Mode(int k) const { return ctrl.Board().ModeGet(answer[k], false); }

    std::filesystem::path folder = FreshFolder();
    SoundRig sounds{folder};
    PaiCtrl ctrl;
    std::vector<int32_t> answer;
};

TEST_F(PaiCtrlMoveTest, WholeGamesOfEverySetSize)
{
    for (const int problem : {1, 77, 4096})
        for (const int faceDown : {0, 1, 40}) {
            SCOPED_TRACE(std::to_string(problem) + " face-down " + std::to_string(faceDown));
            Start(Classic(), problem, faceDown);
            EXPECT_EQ(ctrl.GetPaiCount(), 144);
            PlayToTheEnd();
        }
    std::set<int> setSizes;
    for (const std::string& layout : {WriteGrid(folder, 4, 3, 3), WriteGrid(folder, 4, 4, 4),
                                      std::string(TOVRIK_SOURCE_DIR "/data/template/trio.tvm"),
                                      std::string(TOVRIK_SOURCE_DIR "/data/template/quartet.tvm")}) {
        SCOPED_TRACE(layout);
        Start(layout, 3, 1);
        setSizes.insert(ctrl.Board().Once());
        PlayToTheEnd();
    }
    EXPECT_EQ(setSizes, (std::set<int>{3, 4}));
}

TEST_F(PaiCtrlMoveTest, NothingHappensBeforeAnyGame)
{
    for (const int32_t id : {0, 511, -1, 600, PaiCtrl::PAI_CANCEL, PaiCtrl::PAI_HINT, PaiCtrl::PAI_PLAYBACK})
        EXPECT_EQ(ctrl.ClickPai(id), PaiCtrl::EVENT_DISABLE) << id;
    EXPECT_TRUE(sounds.Played().empty());
    EXPECT_EQ(ctrl.GetPaiCount(), 0);
}

TEST_F(PaiCtrlMoveTest, SelectDeselectAndRemoveAPair)
{
    Start(Classic(), 5);
    for (const int k : {0, 0, 0, 1})
        EXPECT_EQ(ctrl.ClickPai(answer[k]), PaiCtrl::EVENT_PRINT);
    EXPECT_EQ(sounds.Played(), (Played{{PaiCtrl::SOUND_SELECT, 16}, {PaiCtrl::SOUND_DESELECT, 8},
                                       {PaiCtrl::SOUND_SELECT, 16}, {PaiCtrl::SOUND_REMOVE, 8}}));
    EXPECT_FALSE(ctrl.Board().Validity(answer[0]) || ctrl.Board().Validity(answer[1]));
    EXPECT_EQ(ctrl.GetPaiCount(), 142);
    // The tile that completed the move is recorded first.
    EXPECT_EQ(ctrl.History()[0], answer[1]);
    EXPECT_EQ(ctrl.History()[1], answer[0]);
}

TEST_F(PaiCtrlMoveTest, RefusedClicksChangeNothingAndAreSilent)
{
    Start(Classic(), 9);
    const int32_t blocked = Find(true, false);
    EXPECT_EQ(ctrl.ClickPai(blocked), PaiCtrl::EVENT_DISABLE);
    ctrl.ClickPai(answer[0]);
    sounds.Played();
    const ControllerState before = ControllerState::Of(ctrl);
    EXPECT_EQ(ctrl.ClickPai(Find(true, true, ctrl.Board().Group(answer[0]))), PaiCtrl::EVENT_DISABLE);
    EXPECT_EQ(ctrl.ClickPai(blocked), PaiCtrl::EVENT_DISABLE);
    EXPECT_THROW(ctrl.ClickPai(512), NumberedError);
    EXPECT_THROW(ctrl.ClickPai(-2), NumberedError);
    EXPECT_EQ(ControllerState::Of(ctrl), before);
    EXPECT_EQ(Mode(0), PaiStructure::MODE_SELECTED);
    EXPECT_TRUE(sounds.Played().empty());
}

TEST_F(PaiCtrlMoveTest, CancelHintAndPlayback)
{
    Start(Classic(), 31);
    EXPECT_EQ(ctrl.ClickPai(PaiCtrl::PAI_CANCEL), PaiCtrl::EVENT_DISABLE);
    EXPECT_EQ(ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK), PaiCtrl::EVENT_DISABLE);
    ctrl.ClickPai(answer[0]);
    EXPECT_EQ(ctrl.ClickPai(PaiCtrl::PAI_CANCEL), PaiCtrl::EVENT_PRINT);
    EXPECT_EQ(Mode(0), PaiStructure::MODE_NORMAL);

    // A hint drops the selection; a take-back with nothing removed still ends it.
    ctrl.ClickPai(answer[0]);
    sounds.Played();
    EXPECT_EQ(ctrl.ClickPai(PaiCtrl::PAI_HINT), PaiCtrl::EVENT_PRINT);
    EXPECT_EQ(ctrl.Selection(), std::vector<int32_t>{-1});
    EXPECT_EQ(ctrl.Board().ModeGet(answer[0], true), PaiStructure::MODE_HINT);
    EXPECT_EQ(ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK), PaiCtrl::EVENT_DISABLE);
    EXPECT_EQ(ctrl.LastAction(), 0);
    EXPECT_EQ(sounds.Played(), (Played{{PaiCtrl::SOUND_HINT, 8}}));

    // Two take-backs in a row: four tiles back, all played back until the next click.
    PlaySets(ctrl, answer, 0, 3);
    ctrl.ClickPai(answer[6]);
    sounds.Played();
    EXPECT_EQ(ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK), PaiCtrl::EVENT_PRINT);
    EXPECT_EQ(ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK), PaiCtrl::EVENT_PRINT);
    EXPECT_EQ(sounds.Played(), (Played(2, {PaiCtrl::SOUND_PLAYBACK, 8})));
    EXPECT_EQ(ctrl.GetPaiCount(), 142);
    EXPECT_EQ(Mode(6), PaiStructure::MODE_NORMAL);
    for (const int k : {2, 3, 4, 5})
        EXPECT_EQ(Mode(k), PaiStructure::MODE_PLAYBACK) << k;
    ctrl.ClickPai(answer[2]);
    EXPECT_EQ(Mode(4), PaiStructure::MODE_NORMAL);

    // A hint after a take-back erases the played-back look too.
    ctrl.ClickPai(PaiCtrl::PAI_CANCEL);
    PlaySets(ctrl, answer, 1, 1);
    ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK);
    ctrl.ClickPai(PaiCtrl::PAI_HINT);
    EXPECT_EQ(Mode(2), PaiStructure::MODE_NORMAL);
    sounds.Played();
    PlayToTheEnd(1);

    // The cleared board has no move to hint at; without sound nothing plays.
    ctrl.ClickPai(PaiCtrl::PAI_HINT);
    EXPECT_EQ(sounds.Played(), (Played{{PaiCtrl::SOUND_NO_HINT, 16}}));
    ctrl.Sounds(false);
    ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK);
    ctrl.ClickPai(PaiCtrl::PAI_HINT);
    EXPECT_TRUE(sounds.Played().empty());
}

TEST_F(PaiCtrlMoveTest, FailedDealKeepsTheGameInProgress)
{
    EXPECT_THROW(ctrl.GameInit((folder / "missing.tvm").string(), 1, 0), NumberedError);
    EXPECT_FALSE(ctrl.GameActive());

    Start(Classic(), 8);
    PlaySets(ctrl, answer, 0, 4);
    ctrl.ClickPai(answer[8]);
    const ControllerState before = ControllerState::Of(ctrl);
    // A class of three tiles cannot be taken in pairs.
    const std::string odd = WriteLayout(folder, {Code(0, 0, 0), Code(0, 4, 0), Code(0, 8, 0), Code(0, 12, 0)}, 3, 2);
    EXPECT_THROW(ctrl.GameInit(odd, 1, 0), NumberedError);
    EXPECT_THROW(ctrl.GameInit((folder / "missing.tvm").string(), 1, 0), NumberedError);
    EXPECT_EQ(ControllerState::Of(ctrl), before);
    ctrl.ClickPai(answer[9]);
    sounds.Played();
    PlayToTheEnd(5);
}

TEST_F(PaiCtrlMoveTest, OnlyTheFirstSevenSoundsAreUsedAndAMissingArchiveIsSilent)
{
    std::vector<MessageRequest> shown;
    SetMessageHandler([&](const MessageRequest& request) {
        shown.push_back(request);
        return MessageResult::Ok;
    });
    SoundRig eight(folder, 8);
    ctrl.SetDX7Sound(eight.path);
    Start(Classic(), 1);
    ctrl.ClickPai(answer[0]);
    ctrl.PaintClear(0);
    EXPECT_EQ(eight.Played(), (Played{{PaiCtrl::SOUND_SELECT, 16}, {PaiCtrl::SOUND_CLEAR, 8}}));
    EXPECT_TRUE(shown.empty());

    ctrl.SetDX7Sound((folder / "absent.dat").string());
    ctrl.ClickPai(answer[1]);
    EXPECT_TRUE(eight.Played().empty());
    SetMessageHandler(nullptr);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.rfind("[DeCompress] ", 0), 0u);
}

} // namespace
