#include <csignal>
#include <random>
#include <tuple>

#include <sys/resource.h>
#include <unistd.h>

#include "GameTestSupport.h"
#include "SavedGame.h"

using namespace gametest;

namespace {

constexpr size_t kTileCountAt = SavedGame::kSlotTableBytes, kOrderAt = kTileCountAt + 8, kRemovedAt = kOrderAt + 8 * 144;

class PaiCtrlSaveTest : public testing::Test {
protected:
    PaiCtrlSaveTest()
    {
        ctrl.SetProgramFolder(folder.string());
        ctrl.GameInit(Classic(), 6, 0);
        answer = ctrl.Board().RemovalOrder();
    }

    std::string Saved() const { return ReadBytes(folder / PaiCtrl::SAVE_FILE); }

    std::unique_ptr<PaiCtrl> Loaded() const
    {
        auto copy = std::make_unique<PaiCtrl>();
        copy->SetProgramFolder(folder.string());
        EXPECT_TRUE(copy->RequestLoad());
        return copy;
    }

    std::filesystem::path folder = FreshFolder();
    PaiCtrl ctrl;
    std::vector<int32_t> answer;
};

TEST_F(PaiCtrlSaveTest, SaveLoadSaveGivesTheSameBytes)
{
    ASSERT_TRUE(ctrl.RequestSave());
    const SavedGame fresh = SavedGame::Parse(Saved());
    EXPECT_EQ(Saved().size(), 49294u);
    EXPECT_EQ(fresh.removedCount, 0);
    EXPECT_EQ(fresh.history, std::vector<int32_t>(144, 0));
    EXPECT_EQ(ControllerState::Of(*Loaded()), ControllerState::Of(ctrl));

    // A selected tile loads with the normal look, played-back ones keep theirs.
    ctrl.ClickPai(answer[0]);
    ASSERT_TRUE(ctrl.RequestSave());
    auto loaded = Loaded();
    EXPECT_EQ(loaded->Board().ModeGet(answer[0], false), PaiStructure::MODE_NORMAL);
    EXPECT_EQ(loaded->Selection(), std::vector<int32_t>{-1});
    ctrl.ClickPai(PaiCtrl::PAI_CANCEL);
    PlaySets(ctrl, answer, 0, 10);
    ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK);
    ctrl.AutoHint(true);
    ASSERT_TRUE(ctrl.RequestSave());
    const std::string first = Saved();
    loaded = Loaded();
    EXPECT_TRUE(loaded->AutoHint());
    EXPECT_EQ(loaded->GetPaiCount(), 144 - 18);
    EXPECT_EQ(loaded->Board().ModeGet(answer[18], false), PaiStructure::MODE_PLAYBACK);
    ASSERT_TRUE(loaded->RequestSave());
    EXPECT_EQ(Saved(), first);

    // Played to the end, saved and loaded, the history still takes moves back.
    PlaySets(*loaded, answer, 9, 63);
    ASSERT_TRUE(loaded->RequestSave());
    loaded = Loaded();
    EXPECT_EQ(loaded->GetPaiCount(), 0);
    EXPECT_EQ(loaded->ClickPai(PaiCtrl::PAI_PLAYBACK), PaiCtrl::EVENT_PRINT);
    EXPECT_TRUE(loaded->Board().Validity(answer[143]));

    ctrl.AutoHint(false);
    ctrl.RequestLoad();
    EXPECT_TRUE(ctrl.AutoHint()) << "auto-hint comes from the file";

    // A slot past the tile count that the file marks present and free is not clickable.
    std::string stale = Saved();
    for (const size_t flag : {94 * 300 + 4, 94 * 300 + 6})
        stale.replace(flag, 2, "\xFF\xFF", 2);
    WriteBytes(folder / PaiCtrl::SAVE_FILE, stale);
    EXPECT_EQ(Loaded()->ClickPai(300), PaiCtrl::EVENT_DISABLE);
}

TEST_F(PaiCtrlSaveTest, DamagedFilesAreRefusedAndTheGameStaysAsItWas)
{
    PlaySets(ctrl, answer, 0, 6);
    ASSERT_TRUE(ctrl.RequestSave());
    const std::string good = Saved();
    ctrl.ClickPai(answer[12]);
    ctrl.FocusPai(answer[13]);
    const ControllerState before = ControllerState::Of(ctrl);

    // Each damage: where, what value (size 4 or 2), and a word of the refusal.
    struct Damage { size_t at; int32_t value; int size; const char* reason; };
    const Damage damages[] = {
        {kTileCountAt, 0, 4, "tile count"}, {kTileCountAt, 513, 4, "tile count"}, {kTileCountAt, -1, 4, "tile count"},
        {kTileCountAt, 72, 4, "bytes"},     {kTileCountAt + 4, 0, 4, "set size"},  {kTileCountAt + 4, 5, 4, "set size"},
        {kTileCountAt + 4, -2, 4, "set size"}, {kOrderAt, 144, 4, "drawing order"}, {kOrderAt + 4 * 143, -1, 4, "drawing order"},
        {kOrderAt + 4 * 150, 144, 4, "move history"}, {kRemovedAt - 4, -5, 4, "move history"},
        {kRemovedAt, 3, 4, "removed count"}, {kRemovedAt, 146, 4, "removed count"}, {kRemovedAt, -2, 4, "removed count"},
        {kRemovedAt, 14, 4, "off the board"}, {94 * size_t(answer[0]) + 6, -1, 2, "but free"},
        {kRemovedAt + 4, 1, 2, "auto-hint"}, {10, 99, 4, "match class"}, {94 * 3 + 58, 600, 4, "link"}};
    std::vector<std::pair<std::string, std::string>> files;
    for (const Damage& damage : damages) {
        std::string bytes = good;
        for (int k = 0; k < damage.size; ++k)
            bytes[damage.at + k] = char(uint32_t(damage.value) >> (8 * k));
        files.emplace_back(bytes, damage.reason);
    }
    // A drawing-order entry and a history entry repeating the one before.
    for (const auto& [at, reason] : {std::pair{kOrderAt, "twice"}, {kOrderAt + 4 * 144, "named before"}}) {
        std::string bytes = good;
        bytes.replace(at + 4, 4, good, at, 4);
        files.emplace_back(bytes, reason);
    }
    for (const size_t length : {size_t{0}, size_t{94}, kTileCountAt + 6, good.size() - 1})
        files.emplace_back(good.substr(0, length), "bytes");
    for (const size_t extra : {size_t{1}, size_t{8}, size_t{4000}})
        files.emplace_back(good + std::string(extra, '\0'), "bytes");

    for (const auto& [bytes, reason] : files) {
        SCOPED_TRACE(reason + (" at length " + std::to_string(bytes.size())));
        WriteBytes(folder / PaiCtrl::SAVE_FILE, bytes);
        const std::string refusal = Refusal([&] { ctrl.RequestLoad(); });
        EXPECT_NE(refusal.find(reason), std::string::npos) << refusal;
        EXPECT_EQ(ControllerState::Of(ctrl), before);
    }
}

TEST_F(PaiCtrlSaveTest, RandomlyMutatedFilesLoadWholeOrNotAtAll)
{
    PlaySets(ctrl, answer, 0, 20);
    ASSERT_TRUE(ctrl.RequestSave());
    const std::string good = Saved();
    std::mt19937 random(20261208);
    int refused = 0;
    for (int round = 0; round < 400; ++round) {
        std::string bytes = good;
        // Half the changes fall on the controller's part of the file.
        const size_t from = round % 2 == 0 ? kTileCountAt : 0;
        for (int change = 1 + random() % 4; change > 0; --change)
            bytes[from + random() % (bytes.size() - from)] = char(random());
        if (round % 10 == 0)
            bytes.resize(random() % bytes.size());
        WriteBytes(folder / PaiCtrl::SAVE_FILE, bytes);
        const ControllerState before = ControllerState::Of(ctrl);
        try {
            ctrl.RequestLoad();
            // Whatever loads must play: click every tile twice over, take moves back.
            for (int32_t id = 0; id < 2 * ctrl.Board().MaxID(); ++id)
                ctrl.ClickPai(id % 3 == 2 ? PaiCtrl::PAI_PLAYBACK : id / 2);
        } catch (const NumberedError&) {
            ++refused;
            ASSERT_EQ(ControllerState::Of(ctrl), before) << "round " << round;
        }
    }
    EXPECT_GT(refused, 100);
}

TEST_F(PaiCtrlSaveTest, AFailedSaveKeepsTheOldFile)
{
    ASSERT_TRUE(ctrl.RequestSave());
    const std::string old = Saved();
    PlaySets(ctrl, answer, 0, 3);

    // With a file-size limit every write past 1000 bytes fails part-way.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(ctrl.RequestSave(), NumberedError);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(Saved(), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "nothing left beside it";

    ctrl.SetProgramFolder((folder / "absent").string());
    EXPECT_THROW(ctrl.RequestSave(), NumberedError);

    ctrl.SetProgramFolder(folder.string());
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (access(folder.c_str(), W_OK) != 0) {  // permissions do not bind root
        EXPECT_THROW(ctrl.RequestSave(), NumberedError);
    }
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    EXPECT_EQ(Saved(), old);
}

TEST_F(PaiCtrlSaveTest, RestartPutsBackWhatIsStillRemoved)
{
    PaiCtrl dealt;
    dealt.GameInit(Classic(), 6, 0);
    PlaySets(ctrl, answer, 0, 5);
    ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK);
    ctrl.ClickPai(answer[8]);
    ASSERT_TRUE(ctrl.RequestRestart());
    EXPECT_EQ(std::tuple(ctrl.GetPaiCount(), ctrl.History(), ctrl.Selection()),
              std::tuple(144, std::vector<int32_t>(144, 0), std::vector<int32_t>{-1}));
    // The same tiles are back in the same slots, all with the normal look.
    for (int32_t id = 0; id < 144; ++id) {
        const PaiSlot &a = ctrl.Board().Slot(id), &b = dealt.Board().Slot(id);
        EXPECT_EQ(std::tie(a.Validity, a.Mode, a.PaiIndex, a.Group, a.Selectable, a.HintMark),
                  std::tie(b.Validity, b.Mode, b.PaiIndex, b.Group, b.Selectable, b.HintMark)) << id;
    }

    ctrl.ClickPai(PaiCtrl::PAI_HINT);
    ASSERT_TRUE(ctrl.RequestRestart());
    EXPECT_EQ(ctrl.LastAction(), PaiCtrl::PAI_HINT) << "a hint stays on show";
}

} // namespace
