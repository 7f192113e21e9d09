#pragma once

#include "SolverPosition.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A hash set of positions, each kept whole (its present tiles), so that a
// hash collision can never pass one position off as another. It takes no
// memory until the first position comes, then doubles as needed up to a
// bound, past which new positions are not kept.
class PositionTable {
public:
    // A search that outgrows the bound only repeats some work.
    static constexpr size_t kMostBytes = size_t{64} << 20;

    explicit PositionTable(int32_t tiles, size_t mostBytes = kMostBytes);

    bool Contains(uint64_t hash, const TileSet& present) const;
    void Insert(uint64_t hash, const TileSet& present);
    size_t Size() const { return count_; }
    size_t Bytes() const { return entries_.capacity() * sizeof(uint64_t); }

private:
    size_t Find(uint64_t hash, const TileSet& present) const;
    bool Matches(size_t entry, uint64_t hash, const TileSet& present) const;
    size_t Capacity() const;
    void Grow();

    int32_t words_;
    size_t stride_;
    size_t mostBytes_;
    size_t mask_ = 0;
    size_t count_ = 0;
    // Per entry: the hash (0 marks an empty entry) and then the key words.
    std::vector<uint64_t> entries_;
};
