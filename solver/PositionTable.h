#pragma once

#include "SolverPosition.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A hash set of positions, each kept whole (its present tiles), so that a
// hash collision can never pass one position off as another.
class PositionTable {
public:
    explicit PositionTable(int32_t tiles);

    bool Contains(uint64_t hash, const TileSet& present) const;
    void Insert(uint64_t hash, const TileSet& present);
    size_t Size() const { return count_; }

private:
    size_t Find(uint64_t hash, const TileSet& present) const;
    bool Matches(size_t entry, uint64_t hash, const TileSet& present) const;
    void Grow();

    int32_t words_;
    size_t stride_;
    size_t mask_;
    size_t count_ = 0;
    // Per entry: the hash (0 marks an empty entry) and then the key words.
    std::vector<uint64_t> entries_;
};
