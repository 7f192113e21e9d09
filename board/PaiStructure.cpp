#include "PaiStructure.h"

#include "BoardGeometry.h"
#include "NumberedError.h"
#include "RandomSource.h"

#include <algorithm>

using namespace board;

namespace {

// The CLEAR figure, spelled in tiles on layer 0.
constexpr std::array<int32_t, PaiStructure::kClearTiles> kClearCodes = {
    40,   42,   44,   70,   78,   134,  142,  168,  172,  262,  264,  266,  268,  270,  334,  398,
    486,  488,  490,  492,  494,  550,  554,  558,  614,  618,  622,  712,  714,  716,  718,  774,
    778,  840,  842,  844,  846,  934,  936,  938,  940,  942,  998,  1002, 1036, 1063, 1065, 1070};


} // namespace

PaiStructure::PaiStructure() : positionIndex_(kCodeSpace, kNone)
{
    for (int32_t i = 0; i < kClearTiles; ++i)
        paiTable_[i].Position = kClearCodes[i];
    maxId_ = kClearTiles;
    CalcBltPos();
    for (int32_t i = 0; i < kClearTiles; ++i)
        clearPos_[i] = {paiTable_[i].PaiBltX, paiTable_[i].PaiBltY};
    Empty();
}

int32_t PaiStructure::Group(int32_t id) const { return CheckedSlot(id).Group; }
int32_t PaiStructure::PaiBltX(int32_t id) const { return CheckedSlot(id).PaiBltX; }
int32_t PaiStructure::PaiBltY(int32_t id) const { return CheckedSlot(id).PaiBltY; }
int32_t PaiStructure::PaiIndex(int32_t id) const { return CheckedSlot(id).PaiIndex; }
bool PaiStructure::Selectable(int32_t id) const { return CheckedSlot(id).Selectable != kFalse; }
bool PaiStructure::Validity(int32_t id) const { return CheckedSlot(id).Validity != kFalse; }

int32_t PaiStructure::ModeGet(int32_t id, bool hint) const
{
    const PaiSlot& slot = CheckedSlot(id);
    if (slot.RevMode == 1 && slot.Mode != MODE_SELECTED)
        return MODE_FACEDOWN;
    if (slot.RevMode == 2 && slot.Selectable == kFalse)
        return MODE_FACEDOWN;
    if (slot.Mode != MODE_NORMAL)
        return slot.Mode;
    return hint && slot.HintMark != kFalse ? MODE_HINT : MODE_NORMAL;
}

void PaiStructure::SetSelect(int32_t id) { CheckedSlot(id).Mode = MODE_SELECTED; }

void PaiStructure::LostSelect(int32_t id) { CheckedSlot(id).Mode = MODE_NORMAL; }

void PaiStructure::SetPlayback(int32_t id)
{
    PaiSlot& slot = CheckedSlot(id);
    slot.Validity = kTrue;
    slot.Mode = MODE_PLAYBACK;
}

void PaiStructure::ModeErase()
{
    for (PaiSlot& slot : paiTable_)
        slot.Mode = MODE_NORMAL;
}

void PaiStructure::CalcSelectable()
{
    for (int32_t id = 0; id < maxId_; ++id)
        RefreshSlot(id);
    hint_ = CalcHint();
}

void PaiStructure::PickedPai(int32_t id)
{
    PaiSlot& slot = CheckedSlot(id);
    slot.Validity = kFalse;
    slot.Selectable = kFalse;
    slot.Mode = MODE_NORMAL;
}

void PaiStructure::SetFace(int32_t id, int32_t face, int32_t group)
{
    PaiSlot& slot = CheckedSlot(id);
    slot.PaiIndex = face;
    slot.Group = group;
}

int32_t PaiStructure::GetOnMouseID(int32_t x, int32_t y) const
{
    int32_t hit = kNone;
    for (int32_t id = 0; id < maxId_; ++id) {
        const PaiSlot& slot = paiTable_[id];
        const int32_t dx = x - slot.PaiBltX;
        const int32_t dy = y - slot.PaiBltY;
        if (slot.Validity != kFalse && dx >= 0 && dx <= 36 && dy >= 0 && dy <= 50)
            hit = id;
    }
    return hit;
}

void PaiStructure::CopyBltOrder(std::vector<int32_t>& order) const
{
    order.assign(bltOrder_.begin(), bltOrder_.begin() + maxId_);
}

void PaiStructure::GetClearRect(BoardPoint& point, int32_t index) const
{
    if (index < 0)
        throw NumberedError(NumberedError::SubscriptOutOfRange, "CLEAR tile " + std::to_string(index));
    if (index < kClearTiles)
        point = clearPos_[index];
}

const PaiSlot& PaiStructure::Slot(int32_t id) const { return CheckedSlot(id); }

PaiSlot& PaiStructure::CheckedSlot(int32_t id)
{
    if (id < 0 || id >= kSlots)
        throw NumberedError(NumberedError::SubscriptOutOfRange, "slot " + std::to_string(id));
    return paiTable_[id];
}

const PaiSlot& PaiStructure::CheckedSlot(int32_t id) const
{
    if (id < 0 || id >= kSlots)
        throw NumberedError(NumberedError::SubscriptOutOfRange, "slot " + std::to_string(id));
    return paiTable_[id];
}

void PaiStructure::Empty()
{
    paiTable_.fill(PaiSlot{});
    bltOrder_.fill(0);
    removal_.clear();
    maxId_ = 0;
    once_ = 0;
    hint_ = false;
}

void PaiStructure::CalcBltPos()
{
    for (int32_t id = 0; id < maxId_; ++id) {
        PaiSlot& slot = paiTable_[id];
        const BoardPoint blt = BltPosOf(slot.Position);
        slot.PaiBltX = blt.x;
        slot.PaiBltY = blt.y;
    }
}

void PaiStructure::LinkNeighbours()
{
    for (int32_t id = 0; id < maxId_; ++id) {
        PaiSlot& slot = paiTable_[id];
        const int32_t code = slot.Position;
        const int32_t c = ColumnOf(code), r = RowOf(code), l = LayerOf(code);

        const bool rightOpen = c > 33;
        slot.RightID = rightOpen ? kNone : FindPosition(code + 64);
        slot.RightUpID = rightOpen || r < 2 ? kNone : FindPosition(code + 63);
        slot.RightDownID = rightOpen || r > 19 ? kNone : FindPosition(code + 65);

        const bool leftOpen = c < 2;
        slot.LeftID = leftOpen ? kNone : FindPosition(code - 64);
        slot.LeftUpID = leftOpen || r < 2 ? kNone : FindPosition(code - 65);
        slot.LeftDownID = leftOpen || r > 19 ? kNone : FindPosition(code - 63);

        for (int32_t j = 0; j < 9; ++j) {
            const int32_t dc = j / 3 - 1, dr = j % 3 - 1;
            const bool outside = l == kLayers - 1 || (c == 0 && dc < 0) || (r == 0 && dr < 0)
                || (c == kColumns - 1 && dc > 0) || (r == kRows - 1 && dr > 0);
            slot.OverID[j] = outside ? kNone : FindPosition(code + 2048 + dc * 32 + dr);
        }
    }
}

// The position index is filled for one deal only and emptied by the codes
// it was filled with, whatever happened to the table meanwhile.
void PaiStructure::ForgetPositions()
{
    for (const uint16_t code : indexedCodes_)
        positionIndex_[code] = kNone;
    indexedCodes_.clear();
}

// The index holds, for every code, the first slot with that position, so it
// answers exactly as a scan of slots 0 ... MaxID - 1 would.
int32_t PaiStructure::FindPosition(int32_t code) const
{
    if (code < 0 || code >= kCodeSpace)
        return kNone;
    return positionIndex_[code];
}

bool PaiStructure::IsFree(int32_t id) const
{
    const PaiSlot& slot = paiTable_[id];
    const auto present = [this](int32_t link) { return link != kNone && paiTable_[link].Validity != kFalse; };
    if (std::any_of(slot.OverID.begin(), slot.OverID.end(), present))
        return false;
    if (!present(slot.RightID) && !present(slot.RightUpID) && !present(slot.RightDownID))
        return true;
    return !present(slot.LeftID) && !present(slot.LeftUpID) && !present(slot.LeftDownID);
}

void PaiStructure::RefreshSlot(int32_t id)
{
    if (paiTable_[id].Validity != kFalse)
        paiTable_[id].Selectable = AsBoolean(IsFree(id));
}

bool PaiStructure::CalcHint()
{
    std::array<int32_t, kGroups> free{};
    for (int32_t id = 0; id < maxId_; ++id) {
        if (paiTable_[id].Selectable != kFalse)
            ++free[paiTable_[id].Group];
    }
    bool any = false;
    for (int32_t id = 0; id < maxId_; ++id) {
        PaiSlot& slot = paiTable_[id];
        const bool marked = slot.Selectable != kFalse && free[slot.Group] >= once_;
        slot.HintMark = AsBoolean(marked);
        any = any || marked;
    }
    return any;
}

void PaiStructure::Swap(int32_t& a, int32_t& b) { std::swap(a, b); }

void PaiStructure::Shuffle(std::vector<int32_t>& values)
{
    RandomSource& random = random_;
    for (int32_t i = 1; i < static_cast<int32_t>(values.size()); ++i)
        Swap(values[i], values[random.Draw(i)]);
}

void PaiStructure::BuildBltOrder()
{
    int32_t next = 0;
    for (int32_t layer = 0; layer < kLayers; ++layer) {
        for (int32_t d = 0; d <= kColumns - 1 + kRows - 1; ++d) {
            for (int32_t row = std::max(0, d - (kColumns - 1)); row <= std::min(d, kRows - 1); ++row) {
                const int32_t id = FindPosition(CodeOf(layer, d - row, row));
                if (id != kNone && next < kSlots)
                    bltOrder_[next++] = id;
            }
        }
    }
}
