#include "BoardTestSupport.h"

#include <algorithm>
#include <sstream>

namespace {

// Deals a layout of plain class-0 tiles in the given positions.
void DealPlain(PaiStructure& board, const std::vector<uint16_t>& positions, int setSize = 1)
{
    board.CreateTable(WriteLayout(positions, Counts({{0, static_cast<int>(positions.size())}}), setSize), 1, 0);
    ASSERT_EQ(board.MaxID(), static_cast<int32_t>(positions.size()));
}

void Take(PaiStructure& board, int32_t id)
{
    board.PickedPai(id);
    board.CalcSelectable();
}

std::string Record(const PaiStructure& board)
{
    std::ostringstream out;
    board.SaveData(out);
    return out.str();
}

TEST(PaiStructureFreedom, SideNeighboursBlockUntilOneSideIsClear)
{
    for (const int32_t removed : {0, 2}) {
        PaiStructure board;
        DealPlain(board, {Code(0, 2, 4), Code(0, 4, 4), Code(0, 6, 4), Code(0, 20, 4)}, 2);
        EXPECT_TRUE(board.Selectable(0) && board.Selectable(2));
        EXPECT_FALSE(board.Selectable(1));
        Take(board, removed);
        EXPECT_TRUE(board.Selectable(1)) << "after taking slot " << removed;
        EXPECT_FALSE(board.Selectable(removed));
    }
    // Half-offset neighbours block from row 2 up to row 19 only.
    PaiStructure board;
    DealPlain(board, {Code(0, 2, 2), Code(0, 4, 2), Code(0, 6, 1), Code(0, 20, 4)}, 2);
    EXPECT_FALSE(board.Selectable(1));
    EXPECT_EQ(board.Slot(1).RightUpID, 2);
    DealPlain(board, {Code(0, 2, 19), Code(0, 4, 19), Code(0, 6, 20), Code(0, 20, 4)}, 2);
    EXPECT_FALSE(board.Selectable(1));
    EXPECT_EQ(board.Slot(1).RightDownID, 2);
    DealPlain(board, {Code(0, 2, 0), Code(0, 4, 1), Code(0, 6, 0), Code(0, 20, 4)}, 2);
    EXPECT_TRUE(board.Selectable(1));
    EXPECT_EQ(board.Slot(1).LeftUpID, -1);
    EXPECT_EQ(board.Slot(1).RightUpID, -1);
}

TEST(PaiStructureFreedom, CoverFromAboveBlocksWhileItOverlapsAndTakenTilesNeverBlock)
{
    PaiStructure board;
    for (const uint16_t cover : {Code(1, 5, 4), Code(1, 4, 5), Code(1, 3, 3), Code(1, 5, 5)}) {
        DealPlain(board, {Code(0, 4, 4), cover});
        EXPECT_FALSE(board.Selectable(0)) << "cover " << cover;
        EXPECT_TRUE(board.Selectable(1));
        Take(board, 1);
        EXPECT_TRUE(board.Selectable(0));
        EXPECT_FALSE(board.Validity(1));
    }
    DealPlain(board, {Code(0, 4, 4), Code(1, 6, 4)});
    EXPECT_TRUE(board.Selectable(0)) << "two columns off no longer overlaps";
    DealPlain(board, {Code(6, 4, 4), Code(7, 4, 4)});
    EXPECT_EQ(board.Slot(0).OverID[4], 1);
    const auto& over = board.Slot(1).OverID;
    EXPECT_TRUE(std::all_of(over.begin(), over.end(), [](int32_t id) { return id == -1; })) << "top layer";
}

TEST(PaiStructureHint, SetOfThreeIsHintedOnlyWhileThreeFreeTilesShareAGroup)
{
    PaiStructure board;
    std::vector<uint16_t> apart;
    for (int i = 0; i < 6; ++i)
        apart.push_back(Code(0, i * 5, 4));
    board.CreateTable(WriteLayout(apart, Counts({{0, 3}, {1, 3}}), 3), 7, 0);
    EXPECT_EQ(board.Once(), 3);
    EXPECT_TRUE(board.Hint());
    const auto firstOf = [&](int32_t group) {
        for (int32_t id = 0; id < board.MaxID(); ++id)
            if (board.Validity(id) && board.Group(id) == group)
                return id;
        return -1;
    };
    Take(board, firstOf(0));
    EXPECT_TRUE(board.Hint());
    Take(board, firstOf(1));
    EXPECT_FALSE(board.Hint());
    for (int32_t id = 0; id < board.MaxID(); ++id)
        EXPECT_NE(board.ModeGet(id, true), PaiStructure::MODE_HINT);
}

TEST(PaiStructureModes, FaceDownSelectionPlaybackAndHintFlag)
{
    PaiStructure board;
    board.CreateTable(ClassicPath(), 5, 1);
    EXPECT_EQ(board.ModeGet(0, true), PaiStructure::MODE_FACEDOWN);
    board.SetSelect(0);
    EXPECT_EQ(board.ModeGet(0, true), PaiStructure::MODE_SELECTED);
    board.LostSelect(0);
    EXPECT_EQ(board.ModeGet(0, false), PaiStructure::MODE_FACEDOWN);

    // Rule 2 on every tile: face down exactly while not free.
    board.CreateTable(ClassicPath(), 5, 512);
    bool sawHint = false;
    for (int32_t id = 0; id < board.MaxID(); ++id) {
        EXPECT_EQ(board.Slot(id).RevMode, 2);
        const int32_t shown = board.ModeGet(id, true);
        EXPECT_EQ(shown == PaiStructure::MODE_FACEDOWN, !board.Selectable(id)) << "slot " << id;
        EXPECT_NE(board.ModeGet(id, false), PaiStructure::MODE_HINT);
        sawHint = sawHint || shown == PaiStructure::MODE_HINT;
    }
    EXPECT_TRUE(sawHint);

    // Playback puts a tile back, free only once freedom is recomputed.
    board.CreateTable(ClassicPath(), 9, 0);
    board.PickedPai(0);
    board.SetPlayback(0);
    EXPECT_TRUE(board.Validity(0));
    EXPECT_EQ(board.ModeGet(0, false), PaiStructure::MODE_PLAYBACK);
    EXPECT_FALSE(board.Selectable(0));
    board.CalcSelectable();
    EXPECT_TRUE(board.Selectable(0));
    board.ModeErase();
    EXPECT_EQ(board.ModeGet(0, false), PaiStructure::MODE_NORMAL);
    EXPECT_EQ(board.Slot(511).Mode, PaiStructure::MODE_NORMAL);
}

TEST(PaiStructureHitTest, HigherSlotWinsWhateverItsLayer)
{
    PaiStructure board;
    DealPlain(board, {Code(1, 4, 4), Code(0, 4, 4)}); // slot 1 lies beneath slot 0
    EXPECT_EQ(board.PaiBltX(0), 66);
    EXPECT_EQ(board.PaiBltY(0), 94);
    const std::pair<std::pair<int, int>, int32_t> hits[] = {
        {{80, 110}, 1}, {{66, 94}, 0}, {{108, 150}, 1}, {{109, 100}, -1}, {{72, 151}, -1}};
    for (const auto& [point, id] : hits)
        EXPECT_EQ(board.GetOnMouseID(point.first, point.second), id) << point.first << "," << point.second;
    board.PickedPai(1);
    EXPECT_EQ(board.GetOnMouseID(80, 110), 0);
    board.PickedPai(0);
    EXPECT_EQ(board.GetOnMouseID(80, 110), -1);
}

TEST(PaiStructureSlots, NumbersOutsideTheTablesAreRejectedAndChangeNothing)
{
    PaiStructure board;
    BoardPoint point{7, 8};
    board.GetClearRect(point, 0);
    const auto xy = [&] { return std::pair(point.x, point.y); };
    EXPECT_EQ(xy(), std::pair(18, 200));
    board.GetClearRect(point, 47);
    EXPECT_EQ(xy(), std::pair(33 * 18, 14 * 25));
    point = {7, 8};
    board.GetClearRect(point, 48);
    EXPECT_EQ(xy(), std::pair(7, 8)) << "beyond the figure the point stays";
    EXPECT_EQ(ErrorNumber([&] { board.GetClearRect(point, -1); }), NumberedError::SubscriptOutOfRange);
    EXPECT_EQ(board.MaxID(), 0);

    board.CreateTable(ClassicPath(), 3, 0);
    for (const int32_t id : {-1, 512, 40000}) {
        EXPECT_EQ(ErrorNumber([&] { board.Group(id); }), NumberedError::SubscriptOutOfRange);
        EXPECT_EQ(ErrorNumber([&] { board.ModeGet(id, true); }), NumberedError::SubscriptOutOfRange);
        EXPECT_EQ(ErrorNumber([&] { board.PickedPai(id); }), NumberedError::SubscriptOutOfRange);
        EXPECT_EQ(ErrorNumber([&] { board.SetPlayback(id); }), NumberedError::SubscriptOutOfRange);
    }
    for (int32_t id = 0; id < board.MaxID(); ++id)
        EXPECT_TRUE(board.Validity(id));
    EXPECT_EQ(board.Group(511), 0) << "unused slots inside the table are zero-filled";
    EXPECT_FALSE(board.Validity(300));
}

TEST(PaiStructurePainting, EveryTileIsPaintedAfterWhatLiesBelowAndBehindIt)
{
    PaiStructure board;
    board.CreateTable(ClassicPath(), 11, 0);
    std::vector<int32_t> order(3, 99);
    board.CopyBltOrder(order);
    ASSERT_EQ(order.size(), 144u);
    std::vector<int32_t> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (int32_t i = 0; i < 144; ++i)
        ASSERT_EQ(sorted[i], i);
    const auto key = [&](int32_t id) {
        const int32_t code = board.Slot(id).Position;
        return std::tuple(code / 2048, code / 32 % 64 + code % 32, code % 32);
    };
    for (size_t i = 1; i < order.size(); ++i)
        EXPECT_LT(key(order[i - 1]), key(order[i]));
}

TEST(PaiStructureRecord, SaveAndLoadRestoreTheBoardExactly)
{
    PaiStructure board;
    board.CreateTable(ClassicPath(), 21, 40);
    board.PickedPai(board.RemovalOrder()[0]);
    board.PickedPai(board.RemovalOrder()[1]);
    board.SetSelect(board.RemovalOrder()[2]);
    board.CalcSelectable();
    const std::string record = Record(board);
    ASSERT_EQ(record.size(), 512u * 94u + 8u);
    EXPECT_EQ(record.substr(0, 6), std::string("\xA3\x00\x00\x00\xFF\xFF", 6));
    EXPECT_EQ(record.substr(512 * 94), std::string("\x90\x00\x00\x00\x02\x00\x00\x00", 8));

    PaiStructure loaded;
    std::istringstream in(record);
    loaded.LoadData(in);
    loaded.CalcSelectable();
    EXPECT_EQ(Record(loaded), record);
    EXPECT_EQ(loaded.Hint(), board.Hint());
    EXPECT_EQ(loaded.ModeGet(board.RemovalOrder()[2], false), PaiStructure::MODE_SELECTED);
}

TEST(PaiStructureRecord, EveryFieldOfASlotAsWorkedOutByHand)
{
    // Slot 0 at column 2, row 2 has slot 1 two columns right, slot 2 two columns
    // left and a row down, and slot 3 on layer 1 one column right over it.
    PaiStructure board;
    DealPlain(board, {Code(0, 2, 2), Code(0, 4, 2), Code(0, 0, 3), Code(1, 3, 2)}, 2);
    std::string expected;
    const auto put = [&expected](int32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            expected.push_back(static_cast<char>(static_cast<uint32_t>(value) >> (8 * i)));
    };
    put(66, 4);                      // Position: column 2 * 32 + row 2
    put(-1, 2);                      // Validity
    put(0, 2);                       // Selectable: slot 3 lies on it
    put(0, 2);                       // HintMark
    put(0, 4);                       // Group: class 0
    put(0, 4);                       // PaiIndex: 一萬
    put(36, 4);                      // PaiBltX: 2 * 18
    put(50, 4);                      // PaiBltY: 2 * 25
    put(1, 4);                       // Mode: normal
    put(0, 4);                       // RevMode: face up
    for (const int32_t link : {1, -1, -1, -1, -1, 2})  // Right, Left, RightUp, LeftUp, RightDown, LeftDown
        put(link, 4);
    for (int j = 0; j < 9; ++j)      // OverID: only column + 1, same row
        put(j == 7 ? 3 : -1, 4);
    const std::string record = Record(board);
    EXPECT_EQ(record.substr(0, 94), expected);
    EXPECT_EQ(record.substr(512 * 94), std::string("\x04\x00\x00\x00\x02\x00\x00\x00", 8));
    EXPECT_EQ(record.substr(4 * 94, 94), std::string(94, '\0')) << "slot 4 is unused";
}

TEST(PaiStructureRecord, ShortOrInconsistentRecordsLeaveTheBoardAsItWas)
{
    PaiStructure board;
    board.CreateTable(ClassicPath(), 22, 0);
    const std::string good = Record(board);
    const auto damaged = [&](size_t at, const std::string& bytes) { return std::string(good).replace(at, bytes.size(), bytes); };
    PaiStructure other;
    other.CreateTable(ClassicPath(), 23, 0);
    const std::string before = Record(other);
    const std::pair<std::string, int> cases[] = {
        {good.substr(0, good.size() - 1), NumberedError::InputPastEndOfFile},
        {std::string(), NumberedError::InputPastEndOfFile},
        {damaged(50, std::string("\x58\x02\x00\x00", 4)), NumberedError::SubscriptOutOfRange}, // a link of 600
        {damaged(10, "\x40"), NumberedError::SubscriptOutOfRange},                             // Group 64
        {damaged(18, std::string("\x00\x00\x00\x80", 4)), NumberedError::SubscriptOutOfRange}, // x = -2^31
        {damaged(512 * 94, "\x01\x02"), NumberedError::SubscriptOutOfRange},                   // MaxID 513
    };
    for (const auto& [record, number] : cases) {
        std::istringstream in(record);
        EXPECT_EQ(ErrorNumber([&] { other.LoadData(in); }), number);
        EXPECT_EQ(Record(other), before);
    }
}

} // namespace
