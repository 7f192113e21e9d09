#include "OrderCheck.h"

#include <cstddef>

namespace {

constexpr int32_t kRounds = 8;

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
                AddEdge(setOf[over], setOf[tile]);
        }
        // Whichever side goes first, a set with a tile on each side goes with it.
        for (const int32_t left : t.left) {
            for (const int32_t right : t.right) {
                if (present.Has(left) && present.Has(right) && setOf[left] == setOf[right])
                    AddEdge(setOf[left], setOf[tile]);
            }
        }
    });
    for (int32_t round = 0; round < kRounds; ++round) {
        if (SortOrFindRing())
            return true;
        Reach();
        if (!DeriveSideEdges(present, setOf))
            return false;
    }
    return SortOrFindRing();
}

void OrderCheck::AddEdge(int32_t from, int32_t to) { later_[from].Add(to); }

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

// Adds "the whole other side first" for each tile with a side that cannot go
// before it; true when an edge was new.
bool OrderCheck::DeriveSideEdges(const TileSet& present, const std::vector<int32_t>& setOf)
{
    bool added = false;
    present.ForEachCommon(present, [&](int32_t tile) {
        const SolverPosition::Tile& t = position_.TileAt(tile);
        const int32_t node = setOf[tile];
        for (const bool leftWaits : {true, false}) {
            const std::vector<int32_t>& waits = leftWaits ? t.left : t.right;
            const std::vector<int32_t>& first = leftWaits ? t.right : t.left;
            if (!SideWaits(waits, node, present, setOf))
                continue;
            for (const int32_t other : first) {
                if (present.Has(other) && !later_[setOf[other]].Has(node)) {
                    AddEdge(setOf[other], node);
                    added = true;
                }
            }
        }
    });
    return added;
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
