#include <gtest/gtest.h>

#include <csignal>
#include <random>

#include <sys/resource.h>
#include <unistd.h>

#include "GameTestSupport.h"
#include "NumberedError.h"
#include "SavedGame.h"

using namespace gametest;

namespace {

constexpr size_t kTileCountAt = SavedGame::kSlotTableBytes;
constexpr size_t kSetSizeAt = kTileCountAt + 4;
constexpr size_t kDrawOrderAt = kSetSizeAt + 4;

void PutInt(std::string& bytes, size_t at, int32_t value, int size = 4)
{
    for (int k = 0; k < size; ++k)
        bytes[at + k] = static_cast<char>(static_cast<uint32_t>(value) >> (8 * k) & 0xFF);
}

class PaiCtrlSaveTest : public testing::Test {
protected:
    PaiCtrlSaveTest() : folder(FreshFolder(testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        ctrl.SetProgramFolder(folder.string());
    }

    void StartClassic(int problem)
    {
        ctrl.GameInit(ClassicLayout(), problem, 0);
        answer = ctrl.Board().RemovalOrder();
    }

    std::string SaveBytes() const { return ReadBytes(folder / PaiCtrl::SAVE_FILE); }

    std::unique_ptr<PaiCtrl> LoadedCopy() const
    {
        auto copy = std::make_unique<PaiCtrl>();
        copy->SetProgramFolder(folder.string());
        EXPECT_TRUE(copy->RequestLoad());
        return copy;
    }

    std::filesystem::path folder;
    PaiCtrl ctrl;
    std::vector<int32_t> answer;
};

TEST_F(PaiCtrlSaveTest, SaveRightAfterTheDeal)
{
    StartClassic(1);
    ASSERT_TRUE(ctrl.RequestSave());
    const std::string bytes = SaveBytes();
    ASSERT_EQ(bytes.size(), 49294u);
    const SavedGame saved = SavedGame::Parse(bytes);
    EXPECT_EQ(saved.tileCount, 144);
    EXPECT_EQ(saved.once, 2);
    EXPECT_EQ(saved.removedCount, 0);
    EXPECT_EQ(saved.history, std::vector<int32_t>(144, 0));

    const auto loaded = LoadedCopy();
    EXPECT_EQ(ControllerState::Of(*loaded), ControllerState::Of(ctrl));
}

TEST_F(PaiCtrlSaveTest, SaveLoadSaveGivesTheSameBytes)
{
    StartClassic(2);
    PlaySets(ctrl, answer, 0, 10);
    ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK);
    ctrl.ClickPai(PaiCtrl::PAI_HINT);
    ctrl.AutoHint(true);
    ASSERT_TRUE(ctrl.RequestSave());
    const std::string first = SaveBytes();

    auto loaded = LoadedCopy();
    EXPECT_TRUE(loaded->AutoHint());
    EXPECT_EQ(loaded->GetPaiCount(), 144 - 18);
    EXPECT_EQ(loaded->LastAction(), 0);
    std::filesystem::remove(folder / PaiCtrl::SAVE_FILE);
    ASSERT_TRUE(loaded->RequestSave());
    EXPECT_EQ(SaveBytes(), first);

    // The loaded game plays on to the end from where it was saved.
    for (int set = 9; set < 72; ++set)
        PlaySets(*loaded, answer, set, 1);
    EXPECT_EQ(loaded->GetPaiCount(), 0);
}

TEST_F(PaiCtrlSaveTest, AutoHintComesFromTheFile)
{
    StartClassic(3);
    ASSERT_TRUE(ctrl.RequestSave());
    ctrl.AutoHint(true);
    ASSERT_TRUE(ctrl.RequestLoad());
    EXPECT_FALSE(ctrl.AutoHint());
}

TEST_F(PaiCtrlSaveTest, ClearedGameLoadsAndPlaysBack)
{
    StartClassic(4);
    PlaySets(ctrl, answer, 0, 72);
    ASSERT_EQ(ctrl.GetPaiCount(), 0);
    ASSERT_TRUE(ctrl.RequestSave());
    auto loaded = LoadedCopy();
    EXPECT_EQ(loaded->GetPaiCount(), 0);
    EXPECT_EQ(loaded->ClickPai(PaiCtrl::PAI_PLAYBACK), PaiCtrl::EVENT_PRINT);
    EXPECT_EQ(loaded->GetPaiCount(), 2);
    EXPECT_TRUE(loaded->Board().Validity(answer[142]));
    EXPECT_TRUE(loaded->Board().Validity(answer[143]));
}

TEST_F(PaiCtrlSaveTest, SelectedTilesLoadWithTheNormalLookPlayedBackStay)
{
    StartClassic(5);
    PlaySets(ctrl, answer, 0, 2);
    ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK);
    ASSERT_TRUE(ctrl.RequestSave());
    ctrl.ClickPai(PaiCtrl::PAI_CANCEL);
    auto loaded = LoadedCopy();
    EXPECT_EQ(loaded->Board().ModeGet(answer[2], false), PaiStructure::MODE_PLAYBACK);

    ctrl.ClickPai(answer[2]);
    ASSERT_EQ(ctrl.Board().ModeGet(answer[2], false), PaiStructure::MODE_SELECTED);
    ASSERT_TRUE(ctrl.RequestSave());
    loaded = LoadedCopy();
    EXPECT_EQ(loaded->Board().ModeGet(answer[2], false), PaiStructure::MODE_NORMAL);
    EXPECT_EQ(loaded->Selection(), std::vector<int32_t>{-1});
}

TEST_F(PaiCtrlSaveTest, NoGameNoSaveNoRestart)
{
    EXPECT_FALSE(ctrl.RequestSave());
    EXPECT_FALSE(ctrl.RequestRestart());
    EXPECT_FALSE(std::filesystem::exists(folder / PaiCtrl::SAVE_FILE));
    try {
        ctrl.RequestLoad();
        FAIL() << "a missing file loaded";
    } catch (const NumberedError& error) {
        EXPECT_EQ(error.number(), NumberedError::FileNotFound);
    }
    EXPECT_FALSE(ctrl.GameActive());
}

TEST_F(PaiCtrlSaveTest, DamagedFilesAreRefusedAndTheGameStaysAsItWas)
{
    StartClassic(6);
    PlaySets(ctrl, answer, 0, 6);
    ASSERT_TRUE(ctrl.RequestSave());
    const std::string good = SaveBytes();
    ctrl.ClickPai(answer[12]);
    ctrl.FocusPai(answer[13]);
    ctrl.ClickPai(PaiCtrl::PAI_HINT);
    ctrl.ClickPai(answer[12]);
    const ControllerState before = ControllerState::Of(ctrl);

    struct Damage {
        std::string name;
        std::string bytes;
        std::string reason;
    };
    std::vector<Damage> damages;
    auto damaged = [&](const std::string& name, const std::string& reason, auto change) {
        std::string bytes = good;
        change(bytes);
        damages.push_back({name, bytes, reason});
    };
    for (const size_t length : {size_t{0}, size_t{1}, size_t{94}, kTileCountAt, kDrawOrderAt, good.size() / 2,
                                good.size() - 2, good.size() - 1})
        damaged("truncated to " + std::to_string(length), "bytes", [&](std::string& b) { b.resize(length); });
    for (const size_t extra : {size_t{1}, size_t{8}, size_t{4000}})
        damaged("extended by " + std::to_string(extra), "bytes", [&](std::string& b) { b.append(extra, '\0'); });
    for (const int32_t count : {0, -1, 513, 100000})
        damaged("tile count " + std::to_string(count), "tile count", [&](std::string& b) { PutInt(b, kTileCountAt, count); });
    for (const int32_t count : {143, 72})
        damaged("tile count " + std::to_string(count), "bytes", [&](std::string& b) { PutInt(b, kTileCountAt, count); });
    for (const int32_t once : {0, -2, 5, 145})
        damaged("set size " + std::to_string(once), "set size", [&](std::string& b) { PutInt(b, kSetSizeAt, once); });
    for (const size_t entry : {size_t{0}, size_t{143}})
        for (const int32_t id : {144, -1, 511})
            damaged("drawing order " + std::to_string(id), "drawing order",
                    [&](std::string& b) { PutInt(b, kDrawOrderAt + 4 * entry, id); });
    for (const int32_t id : {144, -5})
        damaged("history " + std::to_string(id), "move history",
                [&](std::string& b) { PutInt(b, kDrawOrderAt + 4 * 144 + 4 * 7, id); });
    const size_t removedAt = kDrawOrderAt + 8 * 144;
    for (const int32_t removed : {3, 146, -2})
        damaged("removed " + std::to_string(removed), "removed count",
                [&](std::string& b) { PutInt(b, removedAt, removed); });
    damaged("auto-hint 1", "auto-hint", [&](std::string& b) { PutInt(b, removedAt + 4, 1, 2); });
    damaged("match class 99", "match class", [&](std::string& b) { PutInt(b, 10, 99); });
    damaged("link 600", "link", [&](std::string& b) { PutInt(b, 94 * 3 + 58, 600); });

    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        WriteBytes(folder / PaiCtrl::SAVE_FILE, damage.bytes);
        try {
            ctrl.RequestLoad();
            ADD_FAILURE() << "loaded";
        } catch (const NumberedError& error) {
            EXPECT_NE(std::string(error.what()).find(damage.reason), std::string::npos) << error.what();
        }
        EXPECT_EQ(ControllerState::Of(ctrl), before);

        PaiCtrl fresh;
        fresh.SetProgramFolder(folder.string());
        EXPECT_THROW(fresh.RequestLoad(), NumberedError);
        EXPECT_FALSE(fresh.GameActive());
    }
}

TEST_F(PaiCtrlSaveTest, RandomlyMutatedFilesLoadWholeOrNotAtAll)
{
    StartClassic(7);
    PlaySets(ctrl, answer, 0, 20);
    ASSERT_TRUE(ctrl.RequestSave());
    const std::string good = SaveBytes();
    std::mt19937 random(20261208);
    int refused = 0;
    for (int round = 0; round < 400; ++round) {
        std::string bytes = good;
        // Half the changes fall on the controller's part, the rest anywhere.
        const size_t from = round % 2 == 0 ? kTileCountAt : 0;
        for (int change = 1 + static_cast<int>(random() % 4); change > 0; --change)
            bytes[from + random() % (bytes.size() - from)] = static_cast<char>(random());
        if (round % 10 == 0)
            bytes.resize(random() % bytes.size());
        WriteBytes(folder / PaiCtrl::SAVE_FILE, bytes);

        const ControllerState before = ControllerState::Of(ctrl);
        try {
            ASSERT_TRUE(ctrl.RequestLoad());
            EXPECT_EQ(ctrl.GetPaiCount() % ctrl.Board().Once(), 0);
        } catch (const NumberedError&) {
            ++refused;
            ASSERT_EQ(ControllerState::Of(ctrl), before) << "round " << round;
        }
    }
    EXPECT_GT(refused, 100);
}

TEST_F(PaiCtrlSaveTest, SaveFailingPartWayKeepsTheOldFile)
{
    StartClassic(8);
    ASSERT_TRUE(ctrl.RequestSave());
    const std::string old = SaveBytes();
    PlaySets(ctrl, answer, 0, 3);

    // A file-size limit makes every write past 1000 bytes fail.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(ctrl.RequestSave(), NumberedError);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(SaveBytes(), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1)
        << "nothing is left beside the saved game";
    ASSERT_TRUE(ctrl.RequestSave());
    EXPECT_NE(SaveBytes(), old);
}

TEST_F(PaiCtrlSaveTest, SaveIntoAFolderThatCannotBeWritten)
{
    StartClassic(9);
    ctrl.SetProgramFolder((folder / "absent").string());
    EXPECT_THROW(ctrl.RequestSave(), NumberedError);

    ctrl.SetProgramFolder(folder.string());
    ASSERT_TRUE(ctrl.RequestSave());
    const std::string old = SaveBytes();
    PlaySets(ctrl, answer, 0, 1);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const bool writable = access(folder.c_str(), W_OK) == 0;
    if (!writable) {
        EXPECT_THROW(ctrl.RequestSave(), NumberedError);
    }
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    if (writable)
        GTEST_SKIP() << "permissions do not bind this user; the file-size limit test covers the failure";
    EXPECT_EQ(SaveBytes(), old);
}

TEST_F(PaiCtrlSaveTest, RestartPutsBackOnlyWhatIsStillRemoved)
{
    StartClassic(10);
    PlaySets(ctrl, answer, 0, 5);
    ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK);
    ctrl.ClickPai(answer[8]);
    ctrl.ClickPai(PaiCtrl::PAI_HINT);
    ctrl.ClickPai(answer[8]);
    ASSERT_EQ(ctrl.Board().ModeGet(answer[8], false), PaiStructure::MODE_SELECTED);

    ASSERT_TRUE(ctrl.RequestRestart());
    EXPECT_EQ(ctrl.GetPaiCount(), 144);
    EXPECT_EQ(ctrl.RemovedCount(), 0);
    EXPECT_EQ(ctrl.History(), std::vector<int32_t>(144, 0));
    EXPECT_EQ(ctrl.Selection(), std::vector<int32_t>{-1});
    for (int32_t id = 0; id < 144; ++id) {
        EXPECT_TRUE(ctrl.Board().Validity(id));
        EXPECT_EQ(ctrl.Board().ModeGet(id, false), PaiStructure::MODE_NORMAL);
    }

    // The deal is not made again: the same tiles return to the same slots.
    PaiCtrl fresh;
    fresh.GameInit(ClassicLayout(), 10, 0);
    for (int32_t id = 0; id < 144; ++id) {
        const PaiSlot& restarted = ctrl.Board().Slot(id);
        const PaiSlot& dealt = fresh.Board().Slot(id);
        EXPECT_EQ(restarted.PaiIndex, dealt.PaiIndex) << id;
        EXPECT_EQ(restarted.Group, dealt.Group) << id;
        EXPECT_EQ(restarted.Selectable, dealt.Selectable) << id;
        EXPECT_EQ(restarted.HintMark, dealt.HintMark) << id;
    }
}

TEST_F(PaiCtrlSaveTest, RestartKeepsAHintShowing)
{
    StartClassic(11);
    PlaySets(ctrl, answer, 0, 2);
    ctrl.ClickPai(PaiCtrl::PAI_HINT);
    ASSERT_TRUE(ctrl.RequestRestart());
    EXPECT_EQ(ctrl.LastAction(), PaiCtrl::PAI_HINT);
}

} // namespace
