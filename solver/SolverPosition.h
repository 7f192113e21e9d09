#pragma once

#include <array>
#include <cstdint>
#include <vector>

class PaiStructure;

// A set of tiles of one position, by tile index (0-511).
class TileSet {
public:
    static constexpr int32_t kWords = 8;

    bool Has(int32_t tile) const { return (words_[tile >> 6] >> (tile & 63)) & 1u; }
    void Add(int32_t tile) { words_[tile >> 6] |= uint64_t{1} << (tile & 63); }
    void Remove(int32_t tile) { words_[tile >> 6] &= ~(uint64_t{1} << (tile & 63)); }
    bool Empty() const;
    bool Intersects(const TileSet& other) const;
    int32_t CountCommon(const TileSet& other) const;
    TileSet& operator|=(const TileSet& other);
    uint64_t Word(int32_t k) const { return words_[k]; }

    // Calls visit(tile) for each tile in both sets.
    template <typename Visit>
    void ForEachCommon(const TileSet& other, Visit visit) const
    {
        for (int32_t k = 0; k < kWords; ++k) {
            for (uint64_t bits = words_[k] & other.words_[k]; bits != 0; bits &= bits - 1)
                visit(k * 64 + __builtin_ctzll(bits));
        }
    }

private:
    std::array<uint64_t, kWords> words_{};
};

// The tiles of a board position that are still present, with their match
// classes and the tiles that cover them or lie beside them, taken from the
// board's own links. Tiles are numbered 0 to TileCount() - 1 in slot order;
// links to tiles already taken are dropped, since taken tiles never return.
// A snapshot: it stays valid while the board changes, so it can be handed to
// a worker thread.
class SolverPosition {
public:
    struct Tile {
        int32_t slot = 0;
        int32_t group = 0;
        int32_t layer = 0;
        std::vector<int32_t> over;
        std::vector<int32_t> left;
        std::vector<int32_t> right;
    };

    static SolverPosition FromBoard(const PaiStructure& board);

    int32_t TileCount() const { return static_cast<int32_t>(tiles_.size()); }
    int32_t SetSize() const { return setSize_; }
    const Tile& TileAt(int32_t tile) const { return tiles_[tile]; }
    // Every tile present at the start.
    const TileSet& AllTiles() const { return all_; }
    // The same rule as the board's: nothing present lies on the tile and one
    // whole side is open.
    bool IsFree(int32_t tile, const TileSet& present) const;
    // The tiles that must be taken before this one can be: those lying on it,
    // and those lying on them, and so on.
    const TileSet& Above(int32_t tile) const { return above_[tile]; }
    // The tiles this one keeps from being taken in the same way.
    const TileSet& Below(int32_t tile) const { return below_[tile]; }

private:
    void LinkTiles(const PaiStructure& board, const std::vector<int32_t>& tileOfSlot);
    void CloseAbove();

    std::vector<Tile> tiles_;
    std::vector<TileSet> above_;
    std::vector<TileSet> below_;
    TileSet all_;
    int32_t setSize_ = 0;
};
