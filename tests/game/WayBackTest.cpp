#include "WayBack.h"

#include "GameTestSupport.h"

using namespace gametest;

namespace {

int32_t TilesLeft(const PaiStructure& board)
{
    int32_t left = 0;
    for (int32_t id = 0; id < board.MaxID(); ++id)
        left += board.Validity(id) ? 1 : 0;
    return left;
}

// A judge that calls positions with at most lostAt tiles left lost, and those
// with unknownAt tiles left undecided; it notes the tiles left of each call.
struct CountingJudge {
    explicit CountingJudge(int32_t lostAt, int32_t unknownAt = -1) : lostAt(lostAt), unknownAt(unknownAt) {}

    int32_t lostAt;
    int32_t unknownAt;
    std::vector<int32_t> seen;

    PositionJudge Judge()
    {
        return [this](const PaiStructure& board, const std::atomic<bool>&) {
            const int32_t left = TilesLeft(board);
            seen.push_back(left);
            if (left == unknownAt)
                return Outlook::Unknown;
            return left <= lostAt ? Outlook::Unwinnable : Outlook::Winnable;
        };
    }
};

TEST(WayBackTest, LostPositionsCountTheMovesBackToTheNewestWinnableOne)
{
    PaiCtrl ctrl;
    ctrl.GameInit(Classic(), 1, 0);
    PlaySets(ctrl, ctrl.Board().RemovalOrder(), 0, 5);
    const std::atomic<bool> going{false};
    const auto wayBackUntil = [&](CountingJudge& judge, const std::atomic<bool>& cancel) {
        return FindWayBack(ctrl.Board(), ctrl.History(), ctrl.RemovedCount(), 2, judge.Judge(), cancel);
    };
    const auto wayBack = [&](CountingJudge& judge) { return wayBackUntil(judge, going); };

    CountingJudge lostFourMovesAgo(140);
    const WayBack lost = wayBack(lostFourMovesAgo);
    EXPECT_EQ(lost.now, Outlook::Unwinnable);
    EXPECT_EQ(lost.movesBack, 4);
    EXPECT_EQ(lostFourMovesAgo.seen, (std::vector<int32_t>{134, 136, 138, 140, 142}));
    EXPECT_EQ(TilesLeft(ctrl.Board()), 134) << "the game's own board is left alone";

    CountingJudge winnable(100);
    EXPECT_EQ(wayBack(winnable).now, Outlook::Winnable);
    EXPECT_EQ(winnable.seen.size(), 1U) << "a winnable position needs no history";

    CountingJudge undecided(140, 138);
    const WayBack cutShort = wayBack(undecided);
    EXPECT_EQ(cutShort.now, Outlook::Unwinnable);
    EXPECT_EQ(cutShort.movesBack, 0) << "an unknown verdict ends the search without a count";

    CountingJudge neverWinnable(144);
    EXPECT_EQ(wayBack(neverWinnable).movesBack, 0);
    EXPECT_EQ(neverWinnable.seen.size(), 6U) << "back to the start and no further";

    const std::atomic<bool> cancelled{true};
    CountingJudge cancelledJudge(140);
    EXPECT_EQ(wayBackUntil(cancelledJudge, cancelled).movesBack, 0);
}

} // namespace
