#pragma once

#include "SolverPosition.h"

#include <cstdint>
#include <vector>

// Proves some positions lost by the order their tiles would have to be taken
// in. A tile goes in a later set than every tile lying on it; and a tile with
// tiles on both sides waits for one whole side, so when a tile on one side
// cannot go before it, the whole other side must, and a set with tiles on both
// sides must go before it. Tiles of a class with one set left go together. When these demands run in a ring, no order of sets
// clears the board.
class OrderCheck {
public:
    explicit OrderCheck(const SolverPosition& position);

    // setOf[tile]: a tile standing for all tiles that must go in the same set
    // (the tile itself when none is known), for every present tile.
    bool Contradicts(const TileSet& present, const std::vector<int32_t>& setOf);
    // After Contradicts gave false: tile a must go in an earlier set than tile b.
    bool Before(int32_t a, int32_t b, const std::vector<int32_t>& setOf) const
    {
        return setOf[a] != setOf[b] && reach_[setOf[a]].Has(setOf[b]);
    }

private:
    enum class Sweep { Nothing, Added, Ring };

    bool SortOrFindRing();
    void Reach();
    Sweep DeriveSideDemands(const TileSet& present, const std::vector<int32_t>& setOf);
    void Demand(int32_t first, int32_t then);
    bool SideWaits(const std::vector<int32_t>& side, int32_t node, const TileSet& present,
                   const std::vector<int32_t>& setOf) const;

    const SolverPosition& position_;
    std::vector<int32_t> nodes_;
    std::vector<TileSet> later_;
    std::vector<TileSet> reach_;
    std::vector<int32_t> waiting_;
    std::vector<int32_t> order_;
};
