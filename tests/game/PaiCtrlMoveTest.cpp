#include <gtest/gtest.h>

#include <algorithm>

#include "GameTestSupport.h"
#include "NumberedError.h"

using namespace gametest;

namespace {

class PaiCtrlMoveTest : public testing::Test {
protected:
    PaiCtrlMoveTest() : folder(FreshFolder(testing::UnitTest::GetInstance()->current_test_info()->name())), sounds(folder)
    {
        ctrl.SetProgramFolder(folder.string());
        ctrl.SetDX7Sound(sounds.ArchivePath());
        ctrl.Sounds(true);
    }

    void StartClassic(int problem, int faceDown = 0)
    {
        ctrl.GameInit(ClassicLayout(), problem, faceDown);
        answer = ctrl.Board().RemovalOrder();
        sounds.TakePlayed();
    }

    // A free tile of another group than id's.
    int32_t FreeTileOfOtherGroup(int32_t id) const
    {
        const PaiStructure& board = ctrl.Board();
        for (int32_t other = 0; other < board.MaxID(); ++other) {
            if (board.Validity(other) && board.Selectable(other) && board.Group(other) != board.Group(id))
                return other;
        }
        return -1;
    }

    int32_t BlockedTile() const
    {
        const PaiStructure& board = ctrl.Board();
        for (int32_t id = 0; id < board.MaxID(); ++id) {
            if (board.Validity(id) && !board.Selectable(id))
                return id;
        }
        return -1;
    }

    // Plays the rest of the deal's answer and checks every move's event.
    void PlayToTheEnd(int firstSet)
    {
        const int once = ctrl.Board().Once();
        const int sets = ctrl.Board().MaxID() / once;
        for (int set = firstSet; set < sets; ++set) {
            const std::vector<int32_t> events = PlaySets(ctrl, answer, set, 1);
            for (int k = 0; k + 1 < once; ++k)
                ASSERT_EQ(events[k], PaiCtrl::EVENT_PRINT) << "set " << set << " click " << k;
            ASSERT_EQ(events.back(), set + 1 == sets ? PaiCtrl::EVENT_CLEAR : PaiCtrl::EVENT_PRINT) << "set " << set;
            ASSERT_EQ(ctrl.GetPaiCount(), ctrl.Board().MaxID() - (set + 1) * once);
        }
    }

    std::filesystem::path folder;
    SoundRig sounds;
    PaiCtrl ctrl;
    std::vector<int32_t> answer;
};

TEST_F(PaiCtrlMoveTest, WholeClassicGamesEndInClear)
{
    for (const int problem : {1, 2, 77, 4096}) {
        for (const int faceDown : {0, 1, 40}) {
            SCOPED_TRACE("problem " + std::to_string(problem) + " face-down " + std::to_string(faceDown));
            StartClassic(problem, faceDown);
            EXPECT_EQ(ctrl.GetPaiCount(), 144);
            PlayToTheEnd(0);
            EXPECT_EQ(ctrl.GetPaiCount(), 0);
            // Each set: a select sound per tile but the last, then the remove sound.
            const std::vector<int> played = sounds.TakePlayed();
            ASSERT_EQ(played.size(), 144u);
            EXPECT_EQ(std::count(played.begin(), played.end(), PaiCtrl::SOUND_SELECT), 72);
            EXPECT_EQ(std::count(played.begin(), played.end(), PaiCtrl::SOUND_REMOVE), 72);
        }
    }
}

TEST_F(PaiCtrlMoveTest, WholeGamesWithSetsOfThreeAndFour)
{
    std::vector<std::string> layouts = {WriteGridLayout(folder, "threes", 4, 3, 3),
                                        WriteGridLayout(folder, "fours", 4, 4, 4)};
    // Shipped layouts of every set size take part as they arrive.
    for (const auto& entry : std::filesystem::directory_iterator(std::string(TOVRIK_SOURCE_DIR) + "/data/template"))
        layouts.push_back(entry.path().string());

    std::vector<int> setSizesPlayed;
    for (const std::string& layout : layouts) {
        int games = 0;
        for (int problem = 1; problem <= 20 && games < 2; ++problem) {
            SCOPED_TRACE(layout + " problem " + std::to_string(problem));
            try {
                ctrl.GameInit(layout, problem, problem % 2);
            } catch (const NumberedError&) {
                continue;  // the rare problem the deal generator gives up on
            }
            answer = ctrl.Board().RemovalOrder();
            PlayToTheEnd(0);
            setSizesPlayed.push_back(ctrl.Board().Once());
            ++games;
        }
        EXPECT_EQ(games, 2) << layout;
    }
    for (const int once : {2, 3, 4})
        EXPECT_NE(std::find(setSizesPlayed.begin(), setSizesPlayed.end(), once), setSizesPlayed.end()) << once;
}

TEST_F(PaiCtrlMoveTest, NothingHappensBeforeAnyGame)
{
    for (const int32_t id : {0, 5, 511, -1, 600, PaiCtrl::PAI_CANCEL, PaiCtrl::PAI_HINT, PaiCtrl::PAI_PLAYBACK})
        EXPECT_EQ(ctrl.ClickPai(id), PaiCtrl::EVENT_DISABLE) << id;
    EXPECT_TRUE(sounds.TakePlayed().empty());
    EXPECT_FALSE(ctrl.GameActive());
    EXPECT_EQ(ctrl.GetPaiCount(), 0);
}

TEST_F(PaiCtrlMoveTest, SelectDeselectAndRemoveAPair)
{
    StartClassic(5);
    const int32_t first = answer[0];
    const int32_t second = answer[1];

    EXPECT_EQ(ctrl.ClickPai(first), PaiCtrl::EVENT_PRINT);
    EXPECT_EQ(ctrl.Board().ModeGet(first, false), PaiStructure::MODE_SELECTED);
    EXPECT_EQ(ctrl.ClickPai(first), PaiCtrl::EVENT_PRINT);
    EXPECT_EQ(ctrl.Board().ModeGet(first, false), PaiStructure::MODE_NORMAL);
    EXPECT_EQ(ctrl.Selection(), std::vector<int32_t>{-1});

    EXPECT_EQ(ctrl.ClickPai(first), PaiCtrl::EVENT_PRINT);
    EXPECT_EQ(ctrl.ClickPai(second), PaiCtrl::EVENT_PRINT);
    EXPECT_FALSE(ctrl.Board().Validity(first));
    EXPECT_FALSE(ctrl.Board().Validity(second));
    EXPECT_EQ(ctrl.GetPaiCount(), 142);
    // The tile that completed the move comes first.
    EXPECT_EQ(ctrl.History()[0], second);
    EXPECT_EQ(ctrl.History()[1], first);
    EXPECT_EQ(sounds.TakePlayed(), (std::vector<int>{PaiCtrl::SOUND_SELECT, PaiCtrl::SOUND_DESELECT,
                                                     PaiCtrl::SOUND_SELECT, PaiCtrl::SOUND_REMOVE}));
}

TEST_F(PaiCtrlMoveTest, RefusedClicksChangeNothingAndAreSilent)
{
    StartClassic(9);
    const int32_t blocked = BlockedTile();
    ASSERT_GE(blocked, 0);
    EXPECT_EQ(ctrl.ClickPai(blocked), PaiCtrl::EVENT_DISABLE);

    const int32_t first = answer[0];
    ASSERT_EQ(ctrl.ClickPai(first), PaiCtrl::EVENT_PRINT);
    const int32_t stranger = FreeTileOfOtherGroup(first);
    ASSERT_GE(stranger, 0);
    EXPECT_EQ(ctrl.ClickPai(stranger), PaiCtrl::EVENT_DISABLE);
    EXPECT_EQ(ctrl.ClickPai(blocked), PaiCtrl::EVENT_DISABLE);
    EXPECT_EQ(ctrl.Selection(), std::vector<int32_t>{first});
    EXPECT_EQ(ctrl.Board().ModeGet(first, false), PaiStructure::MODE_SELECTED);
    EXPECT_EQ(ctrl.Board().ModeGet(stranger, false), PaiStructure::MODE_NORMAL);
    EXPECT_EQ(sounds.TakePlayed(), std::vector<int>{PaiCtrl::SOUND_SELECT});

    const ControllerState before = ControllerState::Of(ctrl);
    EXPECT_THROW(ctrl.ClickPai(512), NumberedError);
    EXPECT_THROW(ctrl.ClickPai(-2), NumberedError);
    EXPECT_EQ(ControllerState::Of(ctrl), before);
}

TEST_F(PaiCtrlMoveTest, CancelDropsTheSelectionSilently)
{
    StartClassic(3);
    EXPECT_EQ(ctrl.ClickPai(PaiCtrl::PAI_CANCEL), PaiCtrl::EVENT_DISABLE);
    ctrl.ClickPai(answer[0]);
    sounds.TakePlayed();
    EXPECT_EQ(ctrl.ClickPai(PaiCtrl::PAI_CANCEL), PaiCtrl::EVENT_PRINT);
    EXPECT_EQ(ctrl.Board().ModeGet(answer[0], false), PaiStructure::MODE_NORMAL);
    EXPECT_EQ(ctrl.Selection(), std::vector<int32_t>{-1});
    EXPECT_TRUE(sounds.TakePlayed().empty());
}

TEST_F(PaiCtrlMoveTest, HintDropsTheSelectionAndSoundsWhetherAMoveExists)
{
    StartClassic(11);
    ctrl.ClickPai(answer[0]);
    sounds.TakePlayed();
    EXPECT_EQ(ctrl.ClickPai(PaiCtrl::PAI_HINT), PaiCtrl::EVENT_PRINT);
    EXPECT_EQ(ctrl.Selection(), std::vector<int32_t>{-1});
    EXPECT_EQ(ctrl.Board().ModeGet(answer[0], true), PaiStructure::MODE_HINT);
    EXPECT_EQ(ctrl.LastAction(), PaiCtrl::PAI_HINT);
    EXPECT_EQ(sounds.TakePlayed(), std::vector<int>{PaiCtrl::SOUND_HINT});

    // A tile click ends the hint.
    ctrl.ClickPai(answer[0]);
    EXPECT_EQ(ctrl.LastAction(), 0);

    ctrl.ClickPai(PaiCtrl::PAI_CANCEL);
    PlayToTheEnd(0);
    sounds.TakePlayed();
    EXPECT_EQ(ctrl.ClickPai(PaiCtrl::PAI_HINT), PaiCtrl::EVENT_PRINT);
    EXPECT_EQ(sounds.TakePlayed(), std::vector<int>{PaiCtrl::SOUND_NO_HINT});
}

TEST_F(PaiCtrlMoveTest, SoundsOffPlaysNothing)
{
    StartClassic(12);
    ctrl.Sounds(false);
    PlaySets(ctrl, answer, 0, 2);
    ctrl.ClickPai(PaiCtrl::PAI_HINT);
    ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK);
    EXPECT_TRUE(sounds.TakePlayed().empty());
}

TEST_F(PaiCtrlMoveTest, EffectsAreLoadedInTheirFormats)
{
    StartClassic(13);
    PlaySets(ctrl, answer, 0, 1);
    ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK);
    ctrl.ClickPai(PaiCtrl::PAI_HINT);
    EXPECT_EQ(sounds.BitsOf(PaiCtrl::SOUND_SELECT), 16);
    EXPECT_EQ(sounds.BitsOf(PaiCtrl::SOUND_REMOVE), 8);
    EXPECT_EQ(sounds.BitsOf(PaiCtrl::SOUND_PLAYBACK), 8);
    EXPECT_EQ(sounds.BitsOf(PaiCtrl::SOUND_HINT), 8);
}

TEST_F(PaiCtrlMoveTest, PlaybackWithNothingRemovedStillEndsAHint)
{
    StartClassic(21);
    EXPECT_EQ(ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK), PaiCtrl::EVENT_DISABLE);
    ctrl.ClickPai(PaiCtrl::PAI_HINT);
    sounds.TakePlayed();
    EXPECT_EQ(ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK), PaiCtrl::EVENT_DISABLE);
    EXPECT_EQ(ctrl.LastAction(), 0);
    EXPECT_TRUE(sounds.TakePlayed().empty());
}

TEST_F(PaiCtrlMoveTest, TwoTakeBacksShowPlayedBackUntilTheNextClick)
{
    StartClassic(31);
    PlaySets(ctrl, answer, 0, 3);
    ctrl.ClickPai(answer[6]);  // a selection, dropped by the take-back
    sounds.TakePlayed();

    EXPECT_EQ(ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK), PaiCtrl::EVENT_PRINT);
    EXPECT_EQ(ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK), PaiCtrl::EVENT_PRINT);
    EXPECT_EQ(sounds.TakePlayed(), (std::vector<int>{PaiCtrl::SOUND_PLAYBACK, PaiCtrl::SOUND_PLAYBACK}));
    EXPECT_EQ(ctrl.GetPaiCount(), 142);
    EXPECT_EQ(ctrl.RemovedCount(), 2);
    EXPECT_EQ(ctrl.Selection(), std::vector<int32_t>{-1});
    EXPECT_EQ(ctrl.Board().ModeGet(answer[6], false), PaiStructure::MODE_NORMAL);
    for (int k = 2; k < 6; ++k) {
        EXPECT_TRUE(ctrl.Board().Validity(answer[k]));
        EXPECT_EQ(ctrl.Board().ModeGet(answer[k], false), PaiStructure::MODE_PLAYBACK) << k;
    }

    EXPECT_EQ(ctrl.ClickPai(answer[2]), PaiCtrl::EVENT_PRINT);
    for (int k = 3; k < 6; ++k)
        EXPECT_EQ(ctrl.Board().ModeGet(answer[k], false), PaiStructure::MODE_NORMAL) << k;
    // The taken-back sets can be played again to the end.
    ctrl.ClickPai(PaiCtrl::PAI_CANCEL);
    PlayToTheEnd(1);
}

TEST_F(PaiCtrlMoveTest, HintAfterPlaybackErasesThePlayedBackLook)
{
    StartClassic(41);
    PlaySets(ctrl, answer, 0, 1);
    ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK);
    ctrl.ClickPai(PaiCtrl::PAI_HINT);
    EXPECT_EQ(ctrl.Board().ModeGet(answer[0], false), PaiStructure::MODE_NORMAL);
    EXPECT_EQ(ctrl.LastAction(), PaiCtrl::PAI_HINT);
}

TEST_F(PaiCtrlMoveTest, FailedGameInitKeepsTheGameInProgress)
{
    StartClassic(8);
    PlaySets(ctrl, answer, 0, 4);
    ctrl.ClickPai(answer[8]);
    const ControllerState before = ControllerState::Of(ctrl);

    // Four positions but only two tiles in the counts.
    const std::string broken =
        WriteLayout(folder, "broken", {Code(0, 0, 0), Code(0, 4, 0), Code(0, 8, 0), Code(0, 12, 0)}, {{0, 2}}, 2);
    EXPECT_THROW(ctrl.GameInit(broken, 1, 0), NumberedError);
    EXPECT_THROW(ctrl.GameInit((folder / "missing.tvm").string(), 1, 0), NumberedError);
    EXPECT_EQ(ControllerState::Of(ctrl), before);

    EXPECT_EQ(ctrl.ClickPai(answer[9]), PaiCtrl::EVENT_PRINT);
    PlayToTheEnd(5);
}

TEST_F(PaiCtrlMoveTest, FailedFirstGameInitLeavesNoGame)
{
    EXPECT_THROW(ctrl.GameInit((folder / "missing.tvm").string(), 1, 0), NumberedError);
    EXPECT_FALSE(ctrl.GameActive());
    EXPECT_EQ(ctrl.ClickPai(0), PaiCtrl::EVENT_DISABLE);
}

TEST_F(PaiCtrlMoveTest, AnswerModeWritesTheAnswerBesideTheProgram)
{
    ctrl.MakeAnswer(true);
    StartClassic(17);
    const std::string text = ReadBytes(folder / PaiCtrl::ANSWER_FILE);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 144);
}

TEST(PaiCtrlSounds, ArchiveWithMoreThanSevenSoundsUsesTheFirstSeven)
{
    const std::filesystem::path folder = FreshFolder("EightSounds");
    SoundRig sounds(folder, 8);
    MessageRecorder messages;
    PaiCtrl ctrl;
    ctrl.SetDX7Sound(sounds.ArchivePath());
    ctrl.Sounds(true);
    ctrl.GameInit(ClassicLayout(), 1, 0);
    ctrl.ClickPai(ctrl.Board().RemovalOrder()[0]);
    ctrl.PaintClear(0);
    EXPECT_EQ(sounds.TakePlayed(), (std::vector<int>{PaiCtrl::SOUND_SELECT, PaiCtrl::SOUND_CLEAR}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST(PaiCtrlSounds, MissingArchiveIsReportedOnceAndTheGameIsSilent)
{
    const std::filesystem::path folder = FreshFolder("NoSounds");
    SoundRig sounds(folder);
    MessageRecorder messages;
    PaiCtrl ctrl;
    ctrl.SetDX7Sound((folder / "absent.dat").string());
    ctrl.Sounds(true);
    ctrl.GameInit(ClassicLayout(), 1, 0);
    PlaySets(ctrl, ctrl.Board().RemovalOrder(), 0, 1);
    EXPECT_TRUE(sounds.TakePlayed().empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text.rfind("[DeCompress] ", 0), 0u);
}

} // namespace
