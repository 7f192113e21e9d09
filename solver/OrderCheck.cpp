#include "OrderCheck.h"

#include <cstddef>

namespace {

// Each sweep over the sides can find demands that enable more in the next;
// stopping early only misses a proof, it never makes one wrong.
constexpr int32_t kSweeps = 64;

} // namespace

OrderCheck::OrderCheck(const SolverPosition& position)
    : position_(position), later_(position.TileCount()), reach_(position.TileCount()),
      waiting_(position.TileCount(), 0)
{
}

bool OrderCheck::Contradicts(const TileSet& present, const std::vector<int32_t>& setOf)
{
    nodes_.clear();
    present.ForEachCommon(present, [&](int32_t tile) {
        if (setOf[tile] == tile)
            nodes_.push_back(tile);
        later_[tile] = TileSet{};
    });
    present.ForEachCommon(present, [&](int32_t tile) {
        const SolverPosition::Tile& t = position_.TileAt(tile);
        for (const int32_t over : t.over) {
            if (present.Has(over))
                later_[setOf[over]].Add(setOf[tile]);
        }
        // Whichever side goes first, a set with a tile on each side goes with it.
        for (const int32_t left : t.left) {
            for (const int32_t right : t.right) {
                if (present.Has(left) && present.Has(right) && setOf[left] == setOf[right])
                    later_[setOf[left]].Add(setOf[tile]);
            }
        }
    });
    if (SortOrFindRing())
        return true;
    Reach();
    for (int32_t sweep = 0; sweep < kSweeps; ++sweep) {
        const Sweep result = DeriveSideDemands(present, setOf);
        if (result != Sweep::Added)
            return result == Sweep::Ring;
    }
    return false;
}

// Kahn's order of the nodes; true when some are left over, in a ring.
bool OrderCheck::SortOrFindRing()
{
    for (const int32_t node : nodes_)
        waiting_[node] = 0;
    for (const int32_t node : nodes_)
        later_[node].ForEachCommon(later_[node], [&](int32_t next) { ++waiting_[next]; });
    order_.clear();
    for (const int32_t node : nodes_) {
        if (waiting_[node] == 0)
            order_.push_back(node);
    }
    for (size_t k = 0; k < order_.size(); ++k) {
        later_[order_[k]].ForEachCommon(later_[order_[k]], [&](int32_t next) {
            if (--waiting_[next] == 0)
                order_.push_back(next);
        });
    }
    return order_.size() < nodes_.size();
}

// reach_[node]: the node and every node that must come after it.
void OrderCheck::Reach()
{
    for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
        TileSet& reach = reach_[*it];
        reach = TileSet{};
        reach.Add(*it);
        later_[*it].ForEachCommon(later_[*it], [&](int32_t next) { reach |= reach_[next]; });
    }
}

// Demands "the whole other side first" for each tile with a side that cannot
// go before it.
OrderCheck::Sweep OrderCheck::DeriveSideDemands(const TileSet& present, const std::vector<int32_t>& setOf)
{
    Sweep result = Sweep::Nothing;
    present.ForEachCommon(present, [&](int32_t tile) {
        if (result == Sweep::Ring)
            return;
        const SolverPosition::Tile& t = position_.TileAt(tile);
        const int32_t node = setOf[tile];
        for (const bool leftWaits : {true, false}) {
            const std::vector<int32_t>& waits = leftWaits ? t.left : t.right;
            const std::vector<int32_t>& first = leftWaits ? t.right : t.left;
            if (!SideWaits(waits, node, present, setOf))
                continue;
            for (const int32_t other : first) {
                if (!present.Has(other) || reach_[setOf[other]].Has(node))
                    continue;
                if (reach_[node].Has(setOf[other])) {
                    result = Sweep::Ring;
                    return;
                }
                Demand(setOf[other], node);
                result = Sweep::Added;
            }
        }
    });
    return result;
}

// Records that `first` goes before `then`: whatever reached `first` now also
// reaches all that follows `then`.
void OrderCheck::Demand(int32_t first, int32_t then)
{
    const TileSet after = reach_[then];
    for (const int32_t node : nodes_) {
        if (reach_[node].Has(first))
            reach_[node] |= after;
    }
}

// True when some present tile of the side must go with or after the node.
bool OrderCheck::SideWaits(const std::vector<int32_t>& side, int32_t node, const TileSet& present,
                           const std::vector<int32_t>& setOf) const
{
    for (const int32_t other : side) {
        if (present.Has(other) && reach_[node].Has(setOf[other]))
            return true;
    }
    return false;
}
