#include "PositionTable.h"

#include <algorithm>

namespace {

constexpr size_t kFirstCapacity = 1024;

uint64_t NonZero(uint64_t hash) { return hash == 0 ? 1 : hash; }

} // namespace

PositionTable::PositionTable(int32_t tiles, size_t mostBytes)
    : words_(std::max<int32_t>(1, (tiles + 63) / 64)), stride_(static_cast<size_t>(words_) + 1), mostBytes_(mostBytes)
{
}

bool PositionTable::Contains(uint64_t hash, const TileSet& present) const
{
    return !entries_.empty() && entries_[Find(hash, present) * stride_] != 0;
}

void PositionTable::Insert(uint64_t hash, const TileSet& present)
{
    if ((count_ + 1) * 2 > Capacity()) {
        if (std::max(kFirstCapacity, 2 * Capacity()) * stride_ * sizeof(uint64_t) > mostBytes_)
            return;
        Grow();
    }
    const size_t entry = Find(hash, present);
    uint64_t* slot = &entries_[entry * stride_];
    if (slot[0] != 0)
        return;
    slot[0] = NonZero(hash);
    for (int32_t k = 0; k < words_; ++k)
        slot[1 + k] = present.Word(k);
    ++count_;
}

// The entry holding the position, or the empty entry where it would go.
size_t PositionTable::Find(uint64_t hash, const TileSet& present) const
{
    for (size_t entry = NonZero(hash) & mask_;; entry = (entry + 1) & mask_) {
        if (entries_[entry * stride_] == 0 || Matches(entry, hash, present))
            return entry;
    }
}

bool PositionTable::Matches(size_t entry, uint64_t hash, const TileSet& present) const
{
    const uint64_t* slot = &entries_[entry * stride_];
    if (slot[0] != NonZero(hash))
        return false;
    for (int32_t k = 0; k < words_; ++k) {
        if (slot[1 + k] != present.Word(k))
            return false;
    }
    return true;
}

size_t PositionTable::Capacity() const
{
    return entries_.size() / stride_;
}

void PositionTable::Grow()
{
    const size_t capacity = std::max(kFirstCapacity, 2 * Capacity());
    std::vector<uint64_t> old(capacity * stride_, 0);
    old.swap(entries_);
    mask_ = capacity - 1;
    for (size_t at = 0; at < old.size(); at += stride_) {
        if (old[at] == 0)
            continue;
        size_t entry = old[at] & mask_;
        while (entries_[entry * stride_] != 0)
            entry = (entry + 1) & mask_;
        std::copy(old.begin() + static_cast<std::ptrdiff_t>(at),
                  old.begin() + static_cast<std::ptrdiff_t>(at + stride_), entries_.begin() + static_cast<std::ptrdiff_t>(entry * stride_));
    }
}
