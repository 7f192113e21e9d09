#include "SolverTestSupport.h"

#include "PositionTable.h"
#include "SolverPosition.h"

#include <atomic>

namespace {

using Verdict = SolverResult::Verdict;

PaiStructure Board(const std::vector<uint16_t>& positions, int once, const std::vector<int32_t>& groups)
{
    return BoardWithGroups(positions, once, groups);
}

Verdict VerdictOf(const PaiStructure& board)
{
    const SolverResult result = Solve(board);
    if (result.verdict == Verdict::Winnable) {
        EXPECT_EQ(ClearsTheBoard(board, result.sets), "");
    } else {
        EXPECT_TRUE(result.sets.empty());
    }
    return result.verdict;
}

TEST(Solver, SmallPositionsOfEverySetSize)
{
    // A pair stacked on itself can never be taken; side by side it can.
    EXPECT_EQ(VerdictOf(Board({Code(0, 4, 4), Code(1, 4, 4)}, 2, {0, 0})), Verdict::Unwinnable);
    EXPECT_EQ(VerdictOf(Board({Code(0, 4, 4), Code(0, 6, 4)}, 2, {0, 0})), Verdict::Winnable);
    // Two stacks, each class on top of the other's: a ring no order breaks.
    const std::vector<uint16_t> stacks = {Code(0, 4, 4), Code(1, 4, 4), Code(0, 10, 4), Code(1, 10, 4)};
    EXPECT_EQ(VerdictOf(Board(stacks, 2, {0, 1, 1, 0})), Verdict::Unwinnable);
    EXPECT_EQ(VerdictOf(Board(stacks, 2, {0, 1, 0, 1})), Verdict::Winnable);
    // Four of a class in pairs: the covered one must be paired with a free one first.
    const std::vector<uint16_t> four = {Code(0, 4, 4), Code(1, 4, 4), Code(0, 10, 4), Code(0, 14, 4)};
    EXPECT_EQ(VerdictOf(Board(four, 2, {0, 0, 0, 0})), Verdict::Winnable);
    // Three stacked tiles of one class need three sets but have two.
    const std::vector<uint16_t> tower = {Code(0, 4, 4), Code(1, 4, 4), Code(2, 4, 4), Code(0, 10, 4)};
    EXPECT_EQ(VerdictOf(Board(tower, 2, {0, 0, 0, 0})), Verdict::Unwinnable);
    // Sets of three: the covered tile's set must wait for the tile on it.
    const std::vector<uint16_t> six = {Code(0, 2, 4), Code(1, 2, 4), Code(0, 8, 4), Code(0, 12, 4), Code(0, 16, 4),
                                       Code(0, 20, 4)};
    EXPECT_EQ(VerdictOf(Board(six, 3, {1, 0, 0, 0, 1, 1})), Verdict::Winnable);
    EXPECT_EQ(VerdictOf(Board(six, 3, {0, 0, 0, 1, 1, 1})), Verdict::Unwinnable);
    // Rows of three in sets of three: the middle tile is never free before its set.
    const std::vector<uint16_t> rows = {Code(0, 2, 4), Code(0, 4, 4), Code(0, 6, 4), Code(0, 12, 4), Code(0, 14, 4),
                                        Code(0, 16, 4)};
    EXPECT_EQ(VerdictOf(Board(rows, 3, {0, 1, 0, 1, 0, 1})), Verdict::Unwinnable);
    EXPECT_EQ(VerdictOf(Board(rows, 1, {0, 1, 2, 3, 4, 5})), Verdict::Winnable);
    const std::vector<uint16_t> apart = {Code(0, 2, 4), Code(0, 8, 4), Code(0, 12, 4), Code(0, 16, 4)};
    EXPECT_EQ(VerdictOf(Board(apart, 4, {0, 0, 0, 0})), Verdict::Winnable);
    const std::vector<uint16_t> quad = {Code(0, 2, 4), Code(0, 4, 4), Code(0, 6, 4), Code(0, 8, 4)};
    EXPECT_EQ(VerdictOf(Board(quad, 4, {0, 0, 0, 0})), Verdict::Unwinnable);
    EXPECT_EQ(VerdictOf(Board(quad, 2, {0, 1, 1, 0})), Verdict::Winnable);
    EXPECT_EQ(VerdictOf(Board(quad, 2, {0, 0, 1, 1})), Verdict::Unwinnable);
    EXPECT_EQ(VerdictOf(Board({Code(0, 2, 4), Code(0, 4, 4), Code(0, 6, 4), Code(1, 4, 4)}, 2, {0, 1, 1, 0})),
              Verdict::Winnable);
}

TEST(Solver, EmptyAndClearedBoardsAreWon)
{
    PaiStructure empty;
    EXPECT_EQ(Solve(empty).verdict, Verdict::Winnable);
    PaiStructure board = Board({Code(0, 4, 4), Code(0, 6, 4)}, 2, {3, 3});
    TakeTiles(board, {0, 1});
    const SolverResult result = Solve(board);
    EXPECT_EQ(result.verdict, Verdict::Winnable);
    EXPECT_TRUE(result.sets.empty());
}

TEST(Solver, FreeRuleIsTheBoards)
{
    std::mt19937 random(11);
    for (const std::string& path : ShippedLayouts()) {
        PaiStructure board;
        board.CreateTable(path, 7, 0);
        const SolverPosition start = SolverPosition::FromBoard(board);
        TileSet present = start.AllTiles();
        for (int step = 0; step < 40 && !FreeSlots(board).empty(); ++step) {
            const SolverPosition now = SolverPosition::FromBoard(board);
            for (int32_t tile = 0; tile < now.TileCount(); ++tile)
                ASSERT_EQ(now.IsFree(tile, now.AllTiles()), board.Selectable(now.TileAt(tile).slot)) << path;
            for (int32_t tile = 0; tile < start.TileCount(); ++tile) {
                if (present.Has(tile)) {
                    ASSERT_EQ(start.IsFree(tile, present), board.Selectable(start.TileAt(tile).slot)) << path;
                }
            }
            // Any free tile, matched or not: the rule must hold on every position.
            const std::vector<int32_t> free = FreeSlots(board);
            const int32_t slot = free[random() % free.size()];
            TakeTiles(board, {slot});
            for (int32_t tile = 0; tile < start.TileCount(); ++tile) {
                if (start.TileAt(tile).slot == slot)
                    present.Remove(tile);
            }
        }
    }
}

// Deals are winnable by construction: the solver must never call one lost,
// and the sets it gives must clear the board.
TEST(Solver, DealsAreWinnableAndTheSetsClearThem)
{
    SolveBudget budget;
    budget.nodeLimit = 20'000;
    budget.timeLimitMs = 1e9;
    int won = 0;
    int tried = 0;
    for (const std::string& path : ShippedLayouts()) {
        for (const int problem : {1, 2, 3}) {
            PaiStructure board;
            board.CreateTable(path, problem, 16);
            const SolverResult result = Solve(board, budget);
            ++tried;
            ASSERT_NE(result.verdict, Verdict::Unwinnable) << path << " problem " << problem;
            if (result.verdict != Verdict::Winnable)
                continue;
            ++won;
            EXPECT_EQ(ClearsTheBoard(board, result.sets), "") << path << " problem " << problem;
            EXPECT_EQ(static_cast<int32_t>(result.sets.size()), board.MaxID() / board.Once());
        }
    }
    EXPECT_GE(won, tried * 3 / 4);
}

TEST(Solver, BudgetAndCancelGiveUnknown)
{
    PaiStructure board;
    board.CreateTable(ShippedLayouts()[0], 5, 0);
    SolveBudget few;
    few.nodeLimit = 1;
    EXPECT_EQ(Solve(board, few).verdict, Verdict::Unknown);
    std::atomic<bool> cancel{true};
    SolveBudget cancelled;
    cancelled.cancel = &cancel;
    cancelled.nodeLimit = 1'000'000'000;
    cancelled.timeLimitMs = 1e9;
    EXPECT_EQ(Solve(board, cancelled).verdict, Verdict::Unknown);
    SolveBudget noTime;
    noTime.timeLimitMs = -1;
    EXPECT_EQ(Solve(board, noTime).verdict, Verdict::Unknown);
    cancel = false;
    EXPECT_EQ(Solve(board, cancelled).verdict, Verdict::Winnable);
    EXPECT_STREQ(VerdictName(Verdict::Unknown), "unknown");
    EXPECT_STREQ(VerdictName(Verdict::Winnable), "winnable");
    EXPECT_STREQ(VerdictName(Verdict::Unwinnable), "unwinnable");
}

// The table takes nothing until used, keeps what it is given, and stops
// growing at its bound while still answering for what it kept.
TEST(PositionTable, EmptyAtFirstThenGrowsUpToItsBound)
{
    constexpr size_t kBound = 64 * 1024;
    PositionTable table(130, kBound);
    TileSet first;
    first.Add(3);
    EXPECT_EQ(table.Bytes(), 0u);
    EXPECT_FALSE(table.Contains(7, first));
    std::vector<TileSet> kept;
    for (int32_t k = 0; k < 5000; ++k) {
        TileSet position;
        position.Add(k % 130);
        position.Add(k / 130);
        position.Add(129 - k % 7);
        table.Insert(static_cast<uint64_t>(k) * 0x9E3779B97F4A7C15ull, position);
        if (k < 100)
            kept.push_back(position);
    }
    EXPECT_GT(table.Size(), 100u);
    EXPECT_LT(table.Size(), 5000u);
    EXPECT_LE(table.Bytes(), kBound);
    for (size_t k = 0; k < kept.size(); ++k)
        EXPECT_TRUE(table.Contains(static_cast<uint64_t>(k) * 0x9E3779B97F4A7C15ull, kept[k])) << k;
    EXPECT_FALSE(table.Contains(0, first)) << "the same hash with other tiles is another position";
}

} // namespace
