// The solver against a plain exhaustive search of its own on small random
// layouts: every choice of set, the board's own freedom after each, no table
// and no pruning.
#include "SolverTestSupport.h"

namespace {

using Verdict = SolverResult::Verdict;

constexpr uint64_t kBruteNodeLimit = 200'000;

struct BruteForce {
    uint64_t nodes = 0;

    // True when some order of sets clears the board; gives up (nodes past
    // the limit) on positions too large to search by hand.
    bool Clears(PaiStructure& board)
    {
        if (++nodes > kBruteNodeLimit)
            return false;
        const std::vector<int32_t> free = FreeSlots(board);
        bool anyLeft = false;
        for (int32_t slot = 0; slot < board.MaxID(); ++slot)
            anyLeft = anyLeft || board.Validity(slot);
        if (!anyLeft)
            return true;
        std::vector<int32_t> set;
        return TrySets(board, free, 0, set);
    }

    bool TrySets(PaiStructure& board, const std::vector<int32_t>& free, size_t from, std::vector<int32_t>& set)
    {
        if (static_cast<int32_t>(set.size()) == board.Once()) {
            TakeTiles(board, set);
            const bool won = Clears(board);
            for (const int32_t slot : set)
                board.SetPlayback(slot);
            board.ModeErase();
            board.CalcSelectable();
            return won;
        }
        for (size_t k = from; k < free.size(); ++k) {
            if (!set.empty() && board.Group(free[k]) != board.Group(set[0]))
                continue;
            set.push_back(free[k]);
            const bool won = TrySets(board, free, k + 1, set);
            set.pop_back();
            if (won)
                return true;
        }
        return false;
    }
};

// 4-16 tiles in rows and stacks of up to four layers, none overlapping on its layer.
std::vector<uint16_t> RandomPositions(int tiles, std::mt19937& random)
{
    std::vector<uint16_t> positions;
    std::uniform_int_distribution<int> column(1, 12);
    std::uniform_int_distribution<int> row(1, 7);
    std::discrete_distribution<int> layer({6, 3, 2, 1});
    while (static_cast<int>(positions.size()) < tiles) {
        const int l = layer(random);
        const int c = column(random);
        const int r = l == 0 && random() % 2 == 0 ? 4 : row(random);
        const bool overlaps = std::any_of(positions.begin(), positions.end(), [&](uint16_t code) {
            return code / 2048 == l && std::abs(code / 32 % 64 - c) < 2 && std::abs(code % 32 - r) < 2;
        });
        if (!overlaps)
            positions.push_back(Code(l, c, r));
    }
    return positions;
}

// Classes of `once` tiles each, sometimes two sets to a class.
std::vector<int32_t> RandomGroups(int tiles, int once, std::mt19937& random)
{
    std::vector<int32_t> groups;
    for (int32_t group = 0; static_cast<int>(groups.size()) < tiles; ++group) {
        const int sets = (random() % 3 == 0 && static_cast<int>(groups.size()) + 2 * once <= tiles) ? 2 : 1;
        groups.insert(groups.end(), static_cast<size_t>(sets * once), group % 54);
    }
    std::shuffle(groups.begin(), groups.end(), random);
    return groups;
}

struct Tally {
    int winnable = 0;
    int unwinnable = 0;
    int skipped = 0;
};

void Compare(const PaiStructure& board, Tally& tally, const std::string& what)
{
    PaiStructure copy = board;
    BruteForce brute;
    const bool clears = brute.Clears(copy);
    if (brute.nodes > kBruteNodeLimit) {
        ++tally.skipped;
        return;
    }
    const SolverResult result = Solve(board);
    ASSERT_EQ(result.verdict, clears ? Verdict::Winnable : Verdict::Unwinnable) << what;
    if (clears) {
        ASSERT_EQ(ClearsTheBoard(board, result.sets), "") << what;
        ++tally.winnable;
    } else {
        ++tally.unwinnable;
    }
}

// A tile count of 4-16 that layouts accept: even and a multiple of the set size.
int RandomTileCount(int once, std::mt19937& random)
{
    const int step = once % 2 == 0 ? once : 2 * once;
    const int smallest = (4 + step - 1) / step;
    return step * (smallest + static_cast<int>(random() % static_cast<unsigned>(16 / step - smallest + 1)));
}

// Layout files are written atomically (and so synced), so each random
// layout serves many class assignments and deals.
constexpr int kLayouts = 60;
constexpr int kUsesPerLayout = 40;

// Random layouts, each given classes by groups(tiles, once, random) for a
// number of uses, each compared after 0 to mostPlayed random sets.
template <typename Groups>
Tally CompareOnRandomLayouts(uint32_t seed, int firstOnce, int onces, int uses, int mostPlayed, Groups groups)
{
    std::mt19937 random(seed);
    Tally tally;
    for (int layout = 0; layout < kLayouts; ++layout) {
        const int once = firstOnce + layout % onces;
        const int tiles = RandomTileCount(once, random);
        const PaiStructure dealt = BoardWithGroups(RandomPositions(tiles, random), once, std::vector<int32_t>(tiles, 0));
        for (int use = 0; use < uses; ++use) {
            PaiStructure board = dealt;
            SetGroups(board, groups(tiles, once, random), once);
            PlayRandomSets(board, static_cast<int32_t>(random() % static_cast<unsigned>(mostPlayed + 1)), random());
            Compare(board, tally, "layout " + std::to_string(layout) + " use " + std::to_string(use));
            if (::testing::Test::HasFatalFailure())
                return tally;
        }
    }
    return tally;
}

TEST(SolverBruteForce, RandomClassesOnRandomLayouts)
{
    const Tally tally = CompareOnRandomLayouts(2026, 1, 4, kUsesPerLayout, 2, RandomGroups);
    EXPECT_GT(tally.winnable, 600);
    EXPECT_GT(tally.unwinnable, 400);
    EXPECT_LT(tally.skipped, 50);
}

// Two classes of many tiles each: free tiles of one class that block
// nothing are interchangeable, and the search takes them last.
TEST(SolverBruteForce, FewClassesOfManySets)
{
    const auto twoClasses = [](int tiles, int once, std::mt19937& random) {
        std::vector<int32_t> groups(static_cast<size_t>(tiles));
        for (int k = 0; k < tiles; ++k)
            groups[static_cast<size_t>(k)] = k / once % 2;
        std::shuffle(groups.begin(), groups.end(), random);
        return groups;
    };
    const Tally tally = CompareOnRandomLayouts(11, 2, 3, kUsesPerLayout / 2, 0, twoClasses);
    EXPECT_GT(tally.winnable, 300);
    EXPECT_GT(tally.unwinnable, 100);
    EXPECT_LT(tally.skipped, 50);
}

// Deals are winnable from the start; random play of them often spoils that.
TEST(SolverBruteForce, RandomPlaysOfSmallDeals)
{
    std::mt19937 random(7);
    Tally tally;
    for (int layout = 0; layout < kLayouts; ++layout) {
        const int once = 2 + layout % 3;
        const int tiles = RandomTileCount(once, random);
        const bool twoClasses = random() % 2 == 0 && tiles > once;
        const std::string path = WriteLayout(RandomPositions(tiles, random),
                                             twoClasses ? Counts({{0, once}, {1, tiles - once}}) : Counts({{0, tiles}}),
                                             once);
        for (int use = 0; use < kUsesPerLayout / 2; ++use) {
            PaiStructure board;
            try {
                board.CreateTable(path, 1 + use, 0);
            } catch (const NumberedError&) {
                break; // no order of the empty layout takes it in sets of this size
            }
            PlayRandomSets(board, 1 + static_cast<int32_t>(random() % 3), random());
            Compare(board, tally, "layout " + std::to_string(layout) + " problem " + std::to_string(1 + use));
        }
    }
    EXPECT_GT(tally.winnable + tally.unwinnable, 400);
    EXPECT_GT(tally.winnable, 200);
    EXPECT_GT(tally.unwinnable, 25);
    EXPECT_LT(tally.skipped, 30);
}

} // namespace
