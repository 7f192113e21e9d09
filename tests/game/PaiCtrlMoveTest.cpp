#include <set>

#include "GameTestSupport.h"
#include "MessageBox.h"

using namespace gametest;

namespace {

using Events = std::vector<int32_t>;
constexpr std::pair<int, int> kSelect{PaiCtrl::SOUND_SELECT, 16}, kRemove{PaiCtrl::SOUND_REMOVE, 8};
constexpr int32_t kPrint = PaiCtrl::EVENT_PRINT, kDisable = PaiCtrl::EVENT_DISABLE;
constexpr int32_t kCancel = PaiCtrl::PAI_CANCEL, kHint = PaiCtrl::PAI_HINT, kPlayback = PaiCtrl::PAI_PLAYBACK;

class PaiCtrlMoveTest : public testing::Test {
protected:
    PaiCtrlMoveTest()
    {
        SetMessageHandler([this](const MessageRequest& request) {
            shown.push_back(request.text);
            return MessageResult::Ok;
        });
        ctrl.SetProgramFolder(folder.string());
        ctrl.SetDX7Sound(sounds.path);
        ctrl.Sounds(true);
    }
    ~PaiCtrlMoveTest() override { SetMessageHandler(nullptr); }

    void Start(const std::string& layout, int problem, int faceDown = 0)
    {
        ctrl.GameInit(layout, problem, faceDown);
        answer = ctrl.Board().RemovalOrder();
        sounds.Played();
    }

    // From set first on, every move but the last reports a change, the last
    // the clear; each set sounds a select per tile but the last, then the removal.
    void PlayToTheEnd(int first = 0)
    {
        const int once = ctrl.Board().Once();
        const int sets = ctrl.Board().MaxID() / once;
        Plays expected;
        for (int set = first; set < sets; ++set) {
            Events events(once, kPrint);
            events.back() = set + 1 == sets ? PaiCtrl::EVENT_CLEAR : kPrint;
            ASSERT_EQ(PlaySets(ctrl, answer, set, 1), events) << "set " << set;
            ASSERT_EQ(ctrl.GetPaiCount(), (sets - set - 1) * once);
            expected.insert(expected.end(), once - 1, kSelect);
            expected.push_back(kRemove);
        }
        EXPECT_EQ(sounds.Played(), expected);
    }

    Events Clicks(std::initializer_list<int32_t> ids)
    {
        Events events;
        for (const int32_t id : ids)
            events.push_back(ctrl.ClickPai(id));
        return events;
    }

    int32_t Mode(int k) const { return ctrl.Board().ModeGet(answer[k], false); }

    std::filesystem::path folder = FreshFolder();
    std::vector<std::string> shown;
    SoundRig sounds{folder, PaiCtrl::SOUND_EFFECTS + 1}; // one too many: only the first seven play
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
    for (const char* layout : {"trio", "quartet"}) {
        SCOPED_TRACE(layout);
        Start(TOVRIK_SOURCE_DIR "/data/template/" + std::string(layout) + ".tvm", 3, 1);
        setSizes.insert(ctrl.Board().Once());
        PlayToTheEnd();
    }
    EXPECT_EQ(setSizes, (std::set<int>{3, 4}));
    EXPECT_TRUE(shown.empty());
}

TEST_F(PaiCtrlMoveTest, ClicksSelectDeselectRemoveOrAreRefusedSilently)
{
    Start(Classic(), 9);
    const PaiStructure& board = ctrl.Board();
    int32_t blocked = 0, otherFree = 0;
    while (!board.Validity(blocked) || board.Selectable(blocked))
        ++blocked;
    while (!board.Selectable(otherFree) || board.Group(otherFree) == board.Group(answer[0]))
        ++otherFree;
    EXPECT_EQ(Clicks({blocked, answer[0], answer[0], answer[0]}), (Events{kDisable, kPrint, kPrint, kPrint}));
    EXPECT_EQ(sounds.Played(), (Plays{kSelect, {PaiCtrl::SOUND_DESELECT, 8}, kSelect}));

    const ControllerState before = ControllerState::Of(ctrl);
    EXPECT_EQ(Clicks({otherFree, blocked}), (Events{kDisable, kDisable}));
    EXPECT_THROW(ctrl.ClickPai(512), NumberedError);
    EXPECT_THROW(ctrl.ClickPai(-2), NumberedError);
    EXPECT_EQ(ControllerState::Of(ctrl), before);
    EXPECT_EQ(Mode(0), PaiStructure::MODE_SELECTED);
    EXPECT_TRUE(sounds.Played().empty());

    EXPECT_EQ(ctrl.ClickPai(answer[1]), kPrint);
    EXPECT_EQ(sounds.Played(), Plays{kRemove});
    EXPECT_FALSE(board.Validity(answer[0]) || board.Validity(answer[1]));
    EXPECT_EQ(ctrl.GetPaiCount(), 142);
    // The tile that completed the move is recorded first.
    EXPECT_EQ(std::vector(ctrl.History().begin(), ctrl.History().begin() + 2), (std::vector{answer[1], answer[0]}));
}

TEST_F(PaiCtrlMoveTest, CancelHintAndPlayback)
{
    Start(Classic(), 31);
    EXPECT_EQ(Clicks({kCancel, kPlayback, answer[0], kCancel}), (Events{kDisable, kDisable, kPrint, kPrint}));
    EXPECT_EQ(Mode(0), PaiStructure::MODE_NORMAL);

    // A hint drops the selection; a take-back with nothing removed still ends it.
    EXPECT_EQ(Clicks({answer[0], kHint, kPlayback}), (Events{kPrint, kPrint, kDisable}));
    EXPECT_EQ(ctrl.Selection(), std::vector<int32_t>{-1});
    EXPECT_EQ(ctrl.Board().ModeGet(answer[0], true), PaiStructure::MODE_HINT);
    EXPECT_EQ(ctrl.LastAction(), 0);
    EXPECT_EQ(sounds.Played(), (Plays{kSelect, kSelect, {PaiCtrl::SOUND_HINT, 8}})) << "cancel is silent";

    // Two take-backs in a row: four tiles back, all played back until the next click.
    PlaySets(ctrl, answer, 0, 3);
    ctrl.ClickPai(answer[6]);
    sounds.Played();
    EXPECT_EQ(Clicks({kPlayback, kPlayback}), (Events{kPrint, kPrint}));
    EXPECT_EQ(sounds.Played(), (Plays(2, {PaiCtrl::SOUND_PLAYBACK, 8})));
    EXPECT_EQ(ctrl.GetPaiCount(), 142);
    EXPECT_EQ(Mode(6), PaiStructure::MODE_NORMAL);
    for (const int k : {2, 3, 4, 5})
        EXPECT_EQ(Mode(k), PaiStructure::MODE_PLAYBACK) << k;
    ctrl.ClickPai(answer[2]);
    EXPECT_EQ(Mode(4), PaiStructure::MODE_NORMAL);

    // A hint after a take-back erases the played-back look too.
    Clicks({kCancel, answer[2], answer[3], kPlayback, kHint});
    EXPECT_EQ(Mode(2), PaiStructure::MODE_NORMAL);
    sounds.Played();
    PlayToTheEnd(1);

    // The cleared board has no move to hint at; without sound nothing plays.
    ctrl.ClickPai(kHint);
    EXPECT_EQ(sounds.Played(), (Plays{{PaiCtrl::SOUND_NO_HINT, 16}}));
    ctrl.Sounds(false);
    Clicks({kPlayback, kHint});
    EXPECT_TRUE(sounds.Played().empty());
}

TEST_F(PaiCtrlMoveTest, NothingToPlaySaveOrRestartBeforeADealAndAFailedDealKeepsTheGame)
{
    const std::string missing = (folder / "missing.tvm").string();
    EXPECT_THROW(ctrl.GameInit(missing, 1, 0), NumberedError);
    EXPECT_EQ(Clicks({0, 511, -1, 600, kCancel, kHint, kPlayback}), Events(7, kDisable));
    EXPECT_TRUE(sounds.Played().empty());
    EXPECT_FALSE(ctrl.GameActive() || ctrl.RequestSave() || ctrl.RequestRestart());
    EXPECT_FALSE(std::filesystem::exists(folder / PaiCtrl::SAVE_FILE));
    EXPECT_EQ(Refusal([&] { ctrl.RequestLoad(); }).rfind("File not found (error 53)", 0), 0u);
    EXPECT_EQ(ctrl.GetPaiCount(), 0);

    Start(Classic(), 8);
    PlaySets(ctrl, answer, 0, 4);
    ctrl.ClickPai(answer[8]);
    const ControllerState before = ControllerState::Of(ctrl);
    // A class of three tiles cannot be taken in pairs.
    const std::string odd = WriteLayout(folder, {Code(0, 0, 0), Code(0, 4, 0), Code(0, 8, 0), Code(0, 12, 0)}, 3, 2);
    EXPECT_THROW(ctrl.GameInit(odd, 1, 0), NumberedError);
    EXPECT_THROW(ctrl.GameInit(missing, 1, 0), NumberedError);
    EXPECT_EQ(ControllerState::Of(ctrl), before);
    ctrl.ClickPai(answer[9]);
    sounds.Played();
    PlayToTheEnd(5);
}

TEST_F(PaiCtrlMoveTest, AnArchiveOfEightSoundsIsTakenAndAMissingOneIsSilent)
{
    Start(Classic(), 1);
    ctrl.ClickPai(answer[0]);
    ctrl.PaintClear(0);
    EXPECT_EQ(sounds.Played(), (Plays{kSelect, {PaiCtrl::SOUND_CLEAR, 8}}));
    EXPECT_TRUE(shown.empty());

    ctrl.SetDX7Sound((folder / "absent.dat").string());
    ctrl.ClickPai(answer[1]);
    EXPECT_TRUE(sounds.Played().empty());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind("[DeCompress] ", 0), 0u);
}

// The audio system starts when sound is first switched on, not when the
// sounds are read at start.
TEST_F(PaiCtrlMoveTest, TheSoundDeviceOpensOnlyWhenSoundIsSwitchedOn)
{
    int opened = 0;
    DX7Sound::SetBackendFactory([&opened] {
        ++opened;
        return std::make_unique<RecordingSoundBackend>(std::make_shared<SoundLog>());
    });
    PaiCtrl quiet;
    quiet.SetDX7Sound(sounds.path);
    quiet.GameInit(Classic(), 1, 0);
    quiet.ClickPai(quiet.Board().RemovalOrder()[0]);
    EXPECT_EQ(opened, 0);
    quiet.Sounds(true);
    quiet.Sounds(false);
    quiet.Sounds(true);
    EXPECT_EQ(opened, 1);

    PaiCtrl loud;
    loud.Sounds(true);
    loud.SetDX7Sound(sounds.path);
    EXPECT_EQ(opened, 2) << "sound already on when the sounds are read";
}

} // namespace
