#include "SolverPosition.h"

#include "PaiStructure.h"

#include <algorithm>
#include <numeric>

bool TileSet::Empty() const
{
    return std::all_of(words_.begin(), words_.end(), [](uint64_t word) { return word == 0; });
}

bool TileSet::Intersects(const TileSet& other) const
{
    for (int32_t k = 0; k < kWords; ++k) {
        if ((words_[k] & other.words_[k]) != 0)
            return true;
    }
    return false;
}

int32_t TileSet::CountCommon(const TileSet& other) const
{
    int32_t count = 0;
    for (int32_t k = 0; k < kWords; ++k)
        count += __builtin_popcountll(words_[k] & other.words_[k]);
    return count;
}

TileSet& TileSet::operator|=(const TileSet& other)
{
    for (int32_t k = 0; k < kWords; ++k)
        words_[k] |= other.words_[k];
    return *this;
}

SolverPosition SolverPosition::FromBoard(const PaiStructure& board)
{
    SolverPosition position;
    position.setSize_ = board.Once();
    std::vector<int32_t> tileOfSlot(PaiStructure::kSlots, -1);
    for (int32_t slot = 0; slot < board.MaxID(); ++slot) {
        if (!board.Validity(slot))
            continue;
        tileOfSlot[slot] = position.TileCount();
        position.all_.Add(position.TileCount());
        Tile tile;
        tile.slot = slot;
        tile.group = board.Group(slot);
        tile.layer = board.Slot(slot).Position / 2048;
        position.tiles_.push_back(std::move(tile));
    }
    position.LinkTiles(board, tileOfSlot);
    position.CloseAbove();
    return position;
}

void SolverPosition::LinkTiles(const PaiStructure& board, const std::vector<int32_t>& tileOfSlot)
{
    const auto keepPresent = [&tileOfSlot](std::vector<int32_t>& links, std::initializer_list<int32_t> slots) {
        for (const int32_t slot : slots) {
            if (slot >= 0 && slot < PaiStructure::kSlots && tileOfSlot[slot] >= 0)
                links.push_back(tileOfSlot[slot]);
        }
    };
    for (Tile& tile : tiles_) {
        const PaiSlot& slot = board.Slot(tile.slot);
        for (const int32_t over : slot.OverID)
            keepPresent(tile.over, {over});
        keepPresent(tile.left, {slot.LeftID, slot.LeftUpID, slot.LeftDownID});
        keepPresent(tile.right, {slot.RightID, slot.RightUpID, slot.RightDownID});
    }
}

// Tiles lying on a tile sit one layer up, so closing from the top layer down
// sees every covering tile's own closure complete.
void SolverPosition::CloseAbove()
{
    above_.assign(tiles_.size(), TileSet{});
    std::vector<int32_t> order(tiles_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [this](int32_t a, int32_t b) { return tiles_[a].layer > tiles_[b].layer; });
    for (const int32_t tile : order) {
        for (const int32_t over : tiles_[tile].over) {
            above_[tile].Add(over);
            above_[tile] |= above_[over];
        }
    }
    below_.assign(tiles_.size(), TileSet{});
    for (int32_t tile = 0; tile < TileCount(); ++tile)
        above_[tile].ForEachCommon(all_, [this, tile](int32_t over) { below_[over].Add(tile); });
}

bool SolverPosition::IsFree(int32_t tile, const TileSet& present) const
{
    const Tile& t = tiles_[tile];
    const auto anyPresent = [&present](const std::vector<int32_t>& links) {
        return std::any_of(links.begin(), links.end(), [&present](int32_t link) { return present.Has(link); });
    };
    if (anyPresent(t.over))
        return false;
    return !anyPresent(t.right) || !anyPresent(t.left);
}
