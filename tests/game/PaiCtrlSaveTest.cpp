#include <array>
#include <csignal>
#include <fstream>
#include <random>
#include <tuple>

#include <sys/resource.h>
#include <sys/stat.h>
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
}

// Every shipped layout (face up, all face down or 30 face down in turn), saved at the start, part-way
// with a selection, after a take-back and at the end, loads back as it was.
TEST(SavedGameConsistency, WhatTheGameWritesLoadsBack)
{
    const auto folder = FreshFolder();
    int layouts = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TOVRIK_SOURCE_DIR "/data/template")) {
        const int faceDown = std::array{0, 1, 30}[layouts++ % 3];
        SCOPED_TRACE(entry.path().filename().string() + " face-down " + std::to_string(faceDown));
        PaiCtrl ctrl;
        ctrl.SetProgramFolder(folder.string());
        ctrl.GameInit(entry.path().string(), 11, faceDown);
        const std::vector<int32_t> answer = ctrl.Board().RemovalOrder();
        const int sets = ctrl.Board().MaxID() / ctrl.Board().Once();
        const auto expectRoundTrip = [&] {
            ASSERT_TRUE(ctrl.RequestSave());
            PaiCtrl loaded;
            loaded.SetProgramFolder(folder.string());
            ASSERT_EQ(Refusal([&] { loaded.RequestLoad(); }), "accepted");
            EXPECT_EQ(std::tuple(loaded.History(), loaded.RemovedCount(), loaded.GetPaiCount()),
                      std::tuple(ctrl.History(), ctrl.RemovedCount(), ctrl.GetPaiCount()));
        };
        expectRoundTrip();
        PlaySets(ctrl, answer, 0, sets / 2);
        ctrl.ClickPai(PaiCtrl::PAI_HINT);
        ctrl.ClickPai(answer[sets / 2 * ctrl.Board().Once()]);
        expectRoundTrip();
        ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK);
        ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK);
        expectRoundTrip();
        PlaySets(ctrl, answer, sets / 2 - 2, sets - sets / 2 + 2);
        ASSERT_EQ(ctrl.GetPaiCount(), 0);
        expectRoundTrip();
    }
    EXPECT_GE(layouts, 12);
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
        {kRemovedAt + 4, 1, 2, "auto-hint"}};
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

// Records no game could have written: each names the slot (or entry) and the field.
TEST_F(PaiCtrlSaveTest, RecordsThatContradictThemselvesAreRefusedNamingSlotAndField)
{
    PaiCtrl dealt;
    dealt.GameInit(Classic(), 6, 0);
    PlaySets(ctrl, answer, 0, 10);
    ctrl.ClickPai(answer[20]);
    ASSERT_TRUE(ctrl.RequestSave());
    const std::string good = Saved();
    const ControllerState before = ControllerState::Of(ctrl);
    const PaiStructure& board = ctrl.Board();
    const int32_t taken = answer[0], freeTile = answer[21];
    int32_t blocked = 0;
    while (board.Selectable(blocked) || !board.Validity(blocked))
        ++blocked;
    const auto slot = [](int32_t id) { return "slot " + std::to_string(id) + ": "; };

    // Slot record fields by their offset in the record.
    enum : size_t { kPosition = 0, kValidity = 4, kSelectable = 6, kHintMark = 8, kGroup = 10, kFace = 14, kBltX = 18,
                    kMode = 26, kRevMode = 30, kRightID = 34, kOverID = 58 };
    struct Edit { int32_t id; size_t field; int32_t value; int size; std::string reason; };
    const Edit edits[] = {
        {freeTile, kGroup, board.Group(freeTile) + 1, 4, slot(freeTile) + "Group is"},
        {blocked, kPosition, board.Slot(taken).Position, 4,
         slot(std::max(blocked, taken)) + "Position is " + std::to_string(board.Slot(taken).Position)
             + ", the position of slot " + std::to_string(std::min(blocked, taken)) + " too"},
        {taken, kPosition, Code(0, 36, 0), 4, slot(taken) + "Position is 1152, outside the 36 x 22 x 8 grid"},
        {taken, kPosition, Code(1, 0, 4), 4, slot(taken) + "Position is 2052, a tile that does not fit"},
        {freeTile, kRightID, 200, 4, slot(freeTile) + "RightID is 200, the board's positions give"},
        {freeTile, kOverID + 4 * 4, 143, 4, slot(freeTile) + "OverID[4] is 143"},
        {300, kValidity, -1, 2, slot(300) + "Validity is -1, past the tile count it must be 0"},
        {300, kRightID, 5, 4, slot(300) + "RightID is 5"},
        {freeTile, kBltX, board.PaiBltX(freeTile) + 1, 4, slot(freeTile) + "PaiBltX is"},
        {blocked, kSelectable, -1, 2, slot(blocked) + "Selectable is -1, the board's positions give 0"},
        {freeTile, kHintMark, 0, 2, slot(freeTile) + "HintMark is 0, the board's positions give -1"},
        {freeTile, kValidity, 1, 2, slot(freeTile) + "Validity is 1, not a boolean"},
        {freeTile, kFace, 9, 4, slot(freeTile) + "PaiIndex is 9, a face no deal gives"},
        {freeTile, kMode, 7, 4, slot(freeTile) + "Mode is 7"},
        {blocked, kMode, 3, 4, slot(blocked) + "Mode is 3 (selected) on a tile that is not free"},
        {freeTile, kMode, 3, 4, slot(std::max(freeTile, answer[20])) + "Mode is 3 (selected) on 2 tiles"},
        {taken, kMode, 5, 4, slot(taken) + "Mode is 5 on a tile off the board"},
        {freeTile, kRevMode, 1, 4, "RevMode is 1 but slot 0's is 0"},
    };
    std::vector<std::pair<std::string, std::string>> files;
    for (const Edit& edit : edits) {
        std::string bytes = good;
        for (int k = 0; k < edit.size; ++k)
            bytes[94 * size_t(edit.id) + edit.field + k] = char(uint32_t(edit.value) >> (8 * k));
        files.emplace_back(bytes, edit.reason);
    }
    // Swaps two 32-bit entries of the controller's part of the file.
    const auto swapped = [&](size_t a, size_t b) {
        std::string bytes = good;
        bytes.replace(a, 4, good, b, 4);
        bytes.replace(b, 4, good, a, 4);
        return bytes;
    };
    files.emplace_back(swapped(kOrderAt, kOrderAt + 4), "drawing order entry 0 is slot");
    // A set taken before it was free, and a set of two match classes.
    const size_t historyAt = kOrderAt + 4 * 144;
    const std::vector<int32_t> history = SavedGame::Parse(good).history;
    int32_t late = 2, stranger = 2;
    while (dealt.Board().Selectable(history[late]))
        ++late;
    while (!dealt.Board().Selectable(history[stranger]) || board.Group(history[stranger]) == board.Group(taken))
        ++stranger;
    ASSERT_LT(std::max(late, stranger), 20);
    files.emplace_back(swapped(historyAt, historyAt + 4 * late), "move history entry 0 (slot " +
                                                                  std::to_string(history[late]) + ") was not free");
    files.emplace_back(swapped(historyAt + 4, historyAt + 4 * stranger),
                       "move history entry 1 (slot " + std::to_string(history[stranger]) + ") is of match class");

    for (const auto& [bytes, reason] : files) {
        SCOPED_TRACE(reason);
        WriteBytes(folder / PaiCtrl::SAVE_FILE, bytes);
        const std::string refusal = Refusal([&] { ctrl.RequestLoad(); });
        EXPECT_NE(refusal.find(reason), std::string::npos) << refusal;
        EXPECT_EQ(ControllerState::Of(ctrl), before);
        EXPECT_EQ(Saved(), bytes) << "a refused load leaves the file alone";
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

    std::ofstream(folder / "afile") << "x";
    ctrl.SetProgramFolder((folder / "afile" / "sub").string());
    try {
        ctrl.RequestSave();
        ADD_FAILURE() << "saved under a file";
    } catch (const NumberedError& error) {
        EXPECT_NE(std::string(error.what()).find("cannot create folder " + (folder / "afile" / "sub").string()
                                                 + ": Not a directory"), std::string::npos) << error.what();
    }
    std::filesystem::remove(folder / "afile");

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

TEST_F(PaiCtrlSaveTest, LoadRefusesAtOnceWhatIsNotARegularFileOrTooLarge)
{
    const std::filesystem::path path = folder / PaiCtrl::SAVE_FILE;
    const ControllerState before = ControllerState::Of(ctrl);
    const auto refusal = [&] { return Refusal([&] { ctrl.RequestLoad(); }); };
    std::filesystem::create_directory(path);
    EXPECT_NE(refusal().find("is not a regular file"), std::string::npos);
    std::filesystem::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    EXPECT_NE(refusal().find("is not a regular file"), std::string::npos) << "and the load did not wait for a writer";
    std::filesystem::remove(path);
    WriteBytes(path, "x");
    std::filesystem::resize_file(path, 1ULL << 32);
    EXPECT_NE(refusal().find("is larger than " + std::to_string(SavedGame::FileSize(512)) + " bytes"), std::string::npos);
    EXPECT_EQ(ControllerState::Of(ctrl), before);
}

} // namespace
