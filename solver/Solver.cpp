#include "Solver.h"

#include "OrderCheck.h"
#include "PositionTable.h"
#include "SolverPosition.h"

#include <algorithm>
#include <chrono>
#include <ctime>

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds since construction on the budget's clock.
class Stopwatch {
public:
    explicit Stopwatch(bool processorTime)
        : processorTime_(processorTime), wallStart_(Clock::now()), processorStart_(std::clock())
    {
    }

    double Ms() const
    {
        if (processorTime_)
            return 1000.0 * static_cast<double>(std::clock() - processorStart_) / CLOCKS_PER_SEC;
        return std::chrono::duration<double, std::milli>(Clock::now() - wallStart_).count();
    }

private:
    bool processorTime_;
    Clock::time_point wallStart_;
    std::clock_t processorStart_;
};

constexpr uint64_t kNodesPerClockLook = 256;
// A run of the search that takes a wrong turn early can spend ages below it.
// Runs are therefore cut after a number of nodes that doubles each time, and
// the next run tries the moves in a shuffled order. Lost positions found by
// any run stay known, so a cut costs little.
constexpr uint64_t kFirstRunNodes = 1000;
constexpr int32_t kLongestRunShift = 40;
// A tile a move makes free counts as much as this many tiles it uncovers.
constexpr int32_t kFreesWeight = 4;

uint64_t SplitMix(uint64_t& state)
{
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// The Luby sequence 0 0 1 0 0 1 2 0 0 1 0 0 1 2 3 ... (as powers of two):
// mostly short runs, with ever longer ones among them.
int32_t Luby(int32_t run)
{
    int32_t size = 1;
    int32_t power = 0;
    while (size < run + 1) {
        size = 2 * size + 1;
        ++power;
    }
    while (size - 1 != run) {
        size /= 2;
        --power;
        if (run >= size)
            run -= size;
    }
    return power;
}

// Depth-first search over sets. Every position it leaves without a win is
// stored, by its set of present tiles, so that no position is searched twice.
class Search {
public:
    Search(const SolverPosition& position, const SolveBudget& budget);
    SolverResult Run();

private:
    using Move = std::vector<int32_t>;

    bool Visit();
    bool Stopped() const { return aborted_ || cut_; }
    bool OutOfBudget();
    std::vector<int32_t> FreeTilesOf(int32_t group) const;
    bool Idle(int32_t tile) const { return !affects_[tile].Intersects(present_); }
    void TakeSafeMoves();
    bool CannotBeWon();
    bool ChainTooLong(int32_t group) const;
    const std::vector<int32_t>& SetsKnown();
    std::vector<Move> MovesByBlocking();
    void AddCombinations(const std::vector<int32_t>& free, std::vector<Move>& moves) const;
    int32_t BlockedBy(const Move& move) const;
    int32_t Frees(const Move& move) const;
    void Take(const Move& move);
    void PutBackTo(size_t pathSize);

    const SolverPosition& position_;
    const SolveBudget& budget_;
    const int32_t once_;
    Stopwatch stopwatch_;
    std::vector<int32_t> groupOf_;
    std::vector<std::vector<int32_t>> tilesOfGroup_;
    std::vector<int32_t> left_;
    std::vector<uint64_t> zobrist_;
    std::vector<TileSet> affects_;
    TileSet present_;
    uint64_t hash_ = 0;
    int32_t remaining_ = 0;
    std::vector<Move> path_;
    PositionTable lost_;
    OrderCheck order_;
    std::vector<int32_t> setOf_;
    uint64_t nodes_ = 0;
    bool aborted_ = false;
    uint64_t runNodes_ = 0;
    uint64_t runLimit_ = 0;
    bool cut_ = false;
    int32_t run_ = 0;
    uint64_t shuffleState_ = 0;
};

Search::Search(const SolverPosition& position, const SolveBudget& budget)
    : position_(position), budget_(budget), once_(position.SetSize()), stopwatch_(budget.processorTime),
      lost_(position.TileCount()), order_(position), setOf_(position.TileCount())
{
    std::vector<int32_t> denseOfGroup;
    uint64_t seed = 0x746F76726B;
    for (int32_t tile = 0; tile < position.TileCount(); ++tile) {
        const int32_t group = position.TileAt(tile).group;
        if (group >= static_cast<int32_t>(denseOfGroup.size()))
            denseOfGroup.resize(group + 1, -1);
        if (denseOfGroup[group] < 0) {
            denseOfGroup[group] = static_cast<int32_t>(tilesOfGroup_.size());
            tilesOfGroup_.emplace_back();
        }
        groupOf_.push_back(denseOfGroup[group]);
        tilesOfGroup_[denseOfGroup[group]].push_back(tile);
        zobrist_.push_back(SplitMix(seed));
        hash_ ^= zobrist_.back();
    }
    for (const auto& tiles : tilesOfGroup_)
        left_.push_back(static_cast<int32_t>(tiles.size()));
    affects_.resize(static_cast<size_t>(position.TileCount()));
    for (int32_t tile = 0; tile < position.TileCount(); ++tile) {
        const SolverPosition::Tile& t = position.TileAt(tile);
        for (const auto* links : {&t.over, &t.left, &t.right}) {
            for (const int32_t link : *links)
                affects_[link].Add(tile);
        }
    }
    present_ = position.AllTiles();
    remaining_ = position.TileCount();
}

SolverResult Search::Run()
{
    SolverResult result;
    bool won = remaining_ == 0;
    for (run_ = 0; !won && once_ > 0; ++run_) {
        runLimit_ = kFirstRunNodes << std::min(Luby(run_), kLongestRunShift);
        runNodes_ = 0;
        cut_ = false;
        won = Visit();
        if (won || !cut_)
            break;
        PutBackTo(0);
    }
    result.nodes = nodes_;
    result.ms = stopwatch_.Ms();
    if (aborted_) {
        result.verdict = SolverResult::Verdict::Unknown;
    } else if (won) {
        result.verdict = SolverResult::Verdict::Winnable;
        for (const Move& move : path_) {
            result.sets.emplace_back();
            for (const int32_t tile : move)
                result.sets.back().push_back(position_.TileAt(tile).slot);
        }
    } else {
        result.verdict = SolverResult::Verdict::Unwinnable;
    }
    return result;
}

bool Search::Visit()
{
    if (remaining_ == 0)
        return true;
    if (OutOfBudget() || lost_.Contains(hash_, present_))
        return false;
    const uint64_t entryHash = hash_;
    const TileSet entry = present_;
    const size_t entryPath = path_.size();
    TakeSafeMoves();
    if (remaining_ == 0)
        return true;
    const bool known = hash_ != entryHash && lost_.Contains(hash_, present_);
    if (!known && !CannotBeWon()) {
        for (const Move& move : MovesByBlocking()) {
            Take(move);
            if (Visit())
                return true;
            if (Stopped())
                return false;
            PutBackTo(path_.size() - 1);
        }
    }
    if (!known)
        lost_.Insert(hash_, present_);
    if (hash_ != entryHash)
        lost_.Insert(entryHash, entry);
    PutBackTo(entryPath);
    return false;
}

bool Search::OutOfBudget()
{
    ++nodes_;
    cut_ = ++runNodes_ > runLimit_;
    if (nodes_ > budget_.nodeLimit)
        aborted_ = true;
    else if (nodes_ % kNodesPerClockLook == 1) {
        const double ms = stopwatch_.Ms();
        const bool cancelled = budget_.cancel != nullptr && budget_.cancel->load(std::memory_order_relaxed);
        aborted_ = ms > budget_.timeLimitMs || cancelled;
    }
    return Stopped();
}

std::vector<int32_t> Search::FreeTilesOf(int32_t group) const
{
    std::vector<int32_t> free;
    for (const int32_t tile : tilesOfGroup_[group]) {
        if (present_.Has(tile) && position_.IsFree(tile, present_))
            free.push_back(tile);
    }
    return free;
}

// Taking away tiles never blocks another, so when every remaining tile of a
// class is free, taking them all at once cannot spoil a win; with sets of one
// every free tile is such a move.
void Search::TakeSafeMoves()
{
    for (bool progress = true; progress;) {
        progress = false;
        for (int32_t group = 0; group < static_cast<int32_t>(left_.size()); ++group) {
            if (left_[group] == 0 || left_[group] % once_ != 0)
                continue;
            const std::vector<int32_t> free = FreeTilesOf(group);
            if (once_ > 1 && static_cast<int32_t>(free.size()) < left_[group])
                continue;
            for (size_t k = 0; k + once_ <= free.size(); k += once_)
                Take(Move(free.begin() + static_cast<std::ptrdiff_t>(k),
                          free.begin() + static_cast<std::ptrdiff_t>(k + once_)));
            progress = progress || !free.empty();
        }
    }
}

bool Search::CannotBeWon()
{
    for (int32_t group = 0; group < static_cast<int32_t>(left_.size()); ++group) {
        if (left_[group] % once_ != 0)
            return true;
    }
    if (order_.Contradicts(present_, SetsKnown()))
        return true;
    for (int32_t group = 0; group < static_cast<int32_t>(left_.size()); ++group) {
        if (ChainTooLong(group))
            return true;
    }
    return false;
}

// A tile that must go before another of its class goes in an earlier set; a
// class cannot be cleared when such a chain holds more tiles than it has sets
// left. (Classes with one set left are the order check's.)
bool Search::ChainTooLong(int32_t group) const
{
    const int32_t sets = left_[group] / once_;
    if (sets <= 1 || sets >= left_[group])
        return false;
    std::vector<int32_t> tiles;
    for (const int32_t tile : tilesOfGroup_[group]) {
        if (present_.Has(tile))
            tiles.push_back(tile);
    }
    std::vector<int32_t> chain(tiles.size(), 1);
    for (size_t round = 0; round < tiles.size(); ++round) {
        for (size_t i = 0; i < tiles.size(); ++i) {
            for (size_t j = 0; j < tiles.size(); ++j) {
                if (order_.Before(tiles[j], tiles[i], setOf_))
                    chain[i] = std::max(chain[i], chain[j] + 1);
            }
            if (chain[i] > sets)
                return true;
        }
    }
    return false;
}

// Tiles of a class with one set left go together; every other tile stands
// for itself.
const std::vector<int32_t>& Search::SetsKnown()
{
    for (int32_t group = 0; group < static_cast<int32_t>(left_.size()); ++group) {
        int32_t first = -1;
        for (const int32_t tile : tilesOfGroup_[group]) {
            if (!present_.Has(tile))
                continue;
            if (first < 0 || left_[group] != once_)
                first = tile;
            setOf_[tile] = first;
        }
    }
    return setOf_;
}

std::vector<Search::Move> Search::MovesByBlocking()
{
    std::vector<Move> moves;
    for (int32_t group = 0; group < static_cast<int32_t>(left_.size()); ++group) {
        if (left_[group] >= once_)
            AddCombinations(FreeTilesOf(group), moves);
    }
    std::vector<std::pair<int32_t, size_t>> order;
    for (size_t k = 0; k < moves.size(); ++k)
        order.emplace_back(-(BlockedBy(moves[k]) + kFreesWeight * Frees(moves[k])) * 8 - (run_ == 0 ? 0 : static_cast<int32_t>(SplitMix(shuffleState_) % (8 * static_cast<uint64_t>(std::min(run_, 8))))), k);
    std::stable_sort(order.begin(), order.end());
    std::vector<Move> sorted;
    sorted.reserve(moves.size());
    for (const auto& [score, k] : order)
        sorted.push_back(std::move(moves[k]));
    return sorted;
}

// A free tile whose presence keeps no other present tile from being free
// may as well stay to the last of its class: any win that takes it early
// still wins when it takes instead one of the class's other free tiles and
// leaves it. So a set holds such idle tiles only beside every busy free tile
// of its class, and since idle tiles are interchangeable, the first of them.
void Search::AddCombinations(const std::vector<int32_t>& free, std::vector<Move>& moves) const
{
    std::vector<int32_t> busy;
    std::vector<int32_t> idle;
    for (const int32_t tile : free)
        (Idle(tile) ? idle : busy).push_back(tile);
    const int32_t n = static_cast<int32_t>(busy.size());
    if (n < once_) {
        if (n + static_cast<int32_t>(idle.size()) >= once_) {
            Move move = busy;
            move.insert(move.end(), idle.begin(), idle.begin() + (once_ - n));
            moves.push_back(std::move(move));
        }
        return;
    }
    std::vector<int32_t> pick(once_);
    for (int32_t k = 0; k < once_; ++k)
        pick[k] = k;
    while (true) {
        Move move;
        for (const int32_t k : pick)
            move.push_back(busy[k]);
        moves.push_back(std::move(move));
        int32_t k = once_ - 1;
        while (k >= 0 && pick[k] == n - once_ + k)
            --k;
        if (k < 0)
            return;
        ++pick[k];
        for (int32_t j = k + 1; j < once_; ++j)
            pick[j] = pick[j - 1] + 1;
    }
}

// The tiles that taking the move makes free.
int32_t Search::Frees(const Move& move) const
{
    TileSet after = present_;
    TileSet touched;
    for (const int32_t tile : move) {
        after.Remove(tile);
        touched |= affects_[tile];
    }
    int32_t freed = 0;
    touched.ForEachCommon(after, [&](int32_t tile) {
        freed += position_.IsFree(tile, after) && !position_.IsFree(tile, present_);
    });
    return freed;
}

int32_t Search::BlockedBy(const Move& move) const
{
    int32_t blocked = 0;
    for (const int32_t tile : move)
        blocked += position_.Below(tile).CountCommon(present_);
    return blocked;
}

void Search::Take(const Move& move)
{
    for (const int32_t tile : move) {
        present_.Remove(tile);
        hash_ ^= zobrist_[tile];
        --left_[groupOf_[tile]];
    }
    remaining_ -= static_cast<int32_t>(move.size());
    path_.push_back(move);
}

void Search::PutBackTo(size_t pathSize)
{
    while (path_.size() > pathSize) {
        for (const int32_t tile : path_.back()) {
            present_.Add(tile);
            hash_ ^= zobrist_[tile];
            ++left_[groupOf_[tile]];
        }
        remaining_ += static_cast<int32_t>(path_.back().size());
        path_.pop_back();
    }
}

} // namespace

SolverResult Solve(const PaiStructure& board, const SolveBudget& budget)
{
    return Solve(SolverPosition::FromBoard(board), budget);
}

SolverResult Solve(const SolverPosition& position, const SolveBudget& budget)
{
    return Search(position, budget).Run();
}

const char* VerdictName(SolverResult::Verdict verdict)
{
    switch (verdict) {
    case SolverResult::Verdict::Winnable:
        return "winnable";
    case SolverResult::Verdict::Unwinnable:
        return "unwinnable";
    case SolverResult::Verdict::Unknown:
        break;
    }
    return "unknown";
}
