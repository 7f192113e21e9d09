#include "PaiStructure.h"

#include "AtomicFile.h"
#include "FileConv.h"
#include "NumberedError.h"
#include "RandomSource.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <istream>
#include <ostream>

namespace {

constexpr int16_t kTrue = -1;
constexpr int16_t kFalse = 0;
constexpr int32_t kNone = -1;

constexpr int32_t kColumns = 36;
constexpr int32_t kRows = 22;
constexpr int32_t kLayers = 8;
constexpr int32_t kGroups = 54;
constexpr int32_t kCodeSpace = 32768;

// The CLEAR figure, spelled in tiles on layer 0.
constexpr std::array<int32_t, PaiStructure::kClearTiles> kClearCodes = {
    40,   42,   44,   70,   78,   134,  142,  168,  172,  262,  264,  266,  268,  270,  334,  398,
    486,  488,  490,  492,  494,  550,  554,  558,  614,  618,  622,  712,  714,  716,  718,  774,
    778,  840,  842,  844,  846,  934,  936,  938,  940,  942,  998,  1002, 1036, 1063, 1065, 1070};

// The seed every deal starts from before the problem number is mixed in.
constexpr int16_t kDealReset = -19384;

// The play-out looks at the clock only every so many steps, and lets events
// run when this much time has passed.
constexpr int kStepsPerClockLook = 256;
constexpr auto kPumpInterval = std::chrono::milliseconds(5);

int32_t LayerOf(int32_t code) { return code / 2048; }
int32_t ColumnOf(int32_t code) { return code / 32 % 64; }
int32_t RowOf(int32_t code) { return code % 32; }
int32_t CodeOf(int32_t layer, int32_t column, int32_t row) { return layer * 2048 + column * 32 + row; }

int16_t AsBoolean(bool value) { return value ? kTrue : kFalse; }

// Where a tile is drawn: half-tile cells, each layer raised up and to the left.
BoardPoint BltPosOf(int32_t code)
{
    return {ColumnOf(code) * 18 - LayerOf(code) * 6, RowOf(code) * 25 - LayerOf(code) * 6};
}

// Tiles are drawn all or nothing, so a tile whose picture reaches past the
// board's edge would be invisible yet still free and clickable.
bool FitsTheBoard(int32_t code)
{
    const BoardPoint origin = BltPosOf(code);
    return origin.x >= 0 && origin.y >= 0 && origin.x + PaiStructure::kTileWidth <= PaiStructure::kBoardWidth
        && origin.y + PaiStructure::kTileHeight <= PaiStructure::kBoardHeight;
}

int32_t SpreadMode(uint8_t countByte) { return countByte >> 6; }
int32_t SpreadCount(uint8_t countByte) { return countByte & 63; }

std::string ClassName(int32_t k) { return "class " + std::to_string(k); }

void WriteInt(std::ostream& out, int32_t value, int bytes)
{
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>(bits >> (8 * i) & 0xFF));
}

class RecordReader {
public:
    explicit RecordReader(std::istream& in) : in_(in) {}

    int32_t Int32() { return static_cast<int32_t>(Bits(4)); }
    int16_t Int16() { return static_cast<int16_t>(Bits(2)); }

private:
    uint32_t Bits(int bytes)
    {
        uint32_t bits = 0;
        for (int i = 0; i < bytes; ++i) {
            const int c = in_.get();
            if (c == std::char_traits<char>::eof())
                throw NumberedError(NumberedError::InputPastEndOfFile, "board record is incomplete");
            bits |= static_cast<uint32_t>(c) << (8 * i);
        }
        return bits;
    }

    std::istream& in_;
};

void ExpectRange(int32_t value, int32_t low, int32_t high, const char* field)
{
    if (value < low || value > high)
        throw NumberedError(NumberedError::SubscriptOutOfRange,
                            std::string("board record holds ") + field + " " + std::to_string(value));
}

void ExpectBoolean(int16_t value, const char* field)
{
    if (value != kTrue && value != kFalse)
        throw NumberedError(NumberedError::SubscriptOutOfRange,
                            std::string("board record holds ") + field + " " + std::to_string(value));
}

void ExpectSaneSlot(const PaiSlot& slot)
{
    ExpectRange(slot.Position, 0, kCodeSpace - 1, "position");
    ExpectBoolean(slot.Validity, "validity");
    ExpectBoolean(slot.Selectable, "freedom");
    ExpectBoolean(slot.HintMark, "hint mark");
    ExpectRange(slot.Group, 0, kGroups - 1, "match class");
    ExpectRange(slot.PaiIndex, 0, kGroups - 1, "face");
    ExpectRange(slot.Mode, 0, PaiStructure::MODE_PLAYBACK, "mode");
    ExpectRange(slot.RevMode, 0, 2, "face-down rule");
    const BoardPoint blt = BltPosOf(slot.Position);
    if (slot.PaiBltX != blt.x || slot.PaiBltY != blt.y)
        throw NumberedError(NumberedError::SubscriptOutOfRange, "board record holds a tile drawn off its place");
    for (const int32_t link : {slot.RightID, slot.LeftID, slot.RightUpID, slot.LeftUpID, slot.RightDownID,
                               slot.LeftDownID})
        ExpectRange(link, kNone, PaiStructure::kSlots - 1, "link");
    for (const int32_t link : slot.OverID)
        ExpectRange(link, kNone, PaiStructure::kSlots - 1, "link");
}

// The names of the 54 faces, two characters each, in face order.
constexpr const char* kFaceNames =
    "一萬二萬三萬四萬伍萬六萬七萬八萬九萬◆◆"
    "１索２索３索４索５索６索７索８索９索◆◆"
    "１筒２筒３筒４筒５筒６筒７筒８筒９筒◆◆"
    "東　南　西　北　白　発　中　□　鳳　龍　"
    "季春季夏季秋季冬花梅花蘭花竹花菊百塔◆◆"
    "天牌女牌散牌華牌";

std::string FaceName(int32_t face)
{
    // Every character of the table is three bytes in UTF-8.
    return std::string(kFaceNames + face * 6, 6);
}

std::string RightAligned3(int32_t value)
{
    std::string text = std::to_string(value);
    return std::string(text.size() < 3 ? 3 - text.size() : 0, ' ') + text;
}

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

void PaiStructure::CreateTable(const std::string& layoutPath, int32_t problem, int32_t faceDown,
                               const std::string& answerPath)
{
    if (building_)
        throw NumberedError(NumberedError::InvalidArgument, "a deal is already being built");
    building_ = true;
    try {
        Empty();
        if (faceDown < 0)
            throw NumberedError(NumberedError::InvalidArgument,
                                "face-down count " + std::to_string(faceDown) + " is negative");
        FileConv layout;
        layout.LoadFile(layoutPath);
        BuildDeal(layout, problem, faceDown, answerPath);
        ForgetPositions();
    } catch (...) {
        ForgetPositions();
        Empty();
        building_ = false;
        throw;
    }
    building_ = false;
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

void PaiStructure::SaveData(std::ostream& out) const
{
    for (const PaiSlot& slot : paiTable_) {
        WriteInt(out, slot.Position, 4);
        WriteInt(out, slot.Validity, 2);
        WriteInt(out, slot.Selectable, 2);
        WriteInt(out, slot.HintMark, 2);
        for (const int32_t field : {slot.Group, slot.PaiIndex, slot.PaiBltX, slot.PaiBltY, slot.Mode, slot.RevMode,
                                    slot.RightID, slot.LeftID, slot.RightUpID, slot.LeftUpID, slot.RightDownID,
                                    slot.LeftDownID})
            WriteInt(out, field, 4);
        for (const int32_t link : slot.OverID)
            WriteInt(out, link, 4);
    }
    WriteInt(out, maxId_, 4);
    WriteInt(out, once_, 4);
    if (!out)
        throw NumberedError(NumberedError::DeviceIoError, "board record could not be written");
}

void PaiStructure::LoadData(std::istream& in)
{
    RecordReader reader(in);
    std::array<PaiSlot, kSlots> table;
    for (PaiSlot& slot : table) {
        slot.Position = reader.Int32();
        slot.Validity = reader.Int16();
        slot.Selectable = reader.Int16();
        slot.HintMark = reader.Int16();
        for (int32_t* field : {&slot.Group, &slot.PaiIndex, &slot.PaiBltX, &slot.PaiBltY, &slot.Mode, &slot.RevMode,
                               &slot.RightID, &slot.LeftID, &slot.RightUpID, &slot.LeftUpID, &slot.RightDownID,
                               &slot.LeftDownID})
            *field = reader.Int32();
        for (int32_t& link : slot.OverID)
            link = reader.Int32();
        ExpectSaneSlot(slot);
    }
    const int32_t maxId = reader.Int32();
    const int32_t once = reader.Int32();
    ExpectRange(maxId, 0, kSlots, "slot count");
    ExpectRange(once, 0, kSlots, "set size");

    paiTable_ = table;
    maxId_ = maxId;
    once_ = once;
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

std::string PaiStructure::LayoutFault(const std::vector<uint16_t>& positions, const std::vector<uint8_t>& counts,
                                      int32_t setSize)
{
    const auto count = static_cast<int32_t>(positions.size());
    if (count < 1)
        return "the layout has no positions";
    if (count > kSlots)
        return "the layout has more than 512 positions";
    std::vector<bool> seen(kCodeSpace, false);
    for (const uint16_t code : positions) {
        if (code >= kCodeSpace || LayerOf(code) >= kLayers || ColumnOf(code) >= kColumns || RowOf(code) >= kRows)
            return "position " + std::to_string(code) + " lies outside the 36 x 22 x 8 grid";
        if (seen[code])
            return "position " + std::to_string(code) + " appears twice";
        seen[code] = true;
    }
    for (size_t slot = 0; slot < positions.size(); ++slot)
        if (!FitsTheBoard(positions[slot]))
            return "slot " + std::to_string(slot) + " (layer " + std::to_string(LayerOf(positions[slot])) + ", column "
                + std::to_string(ColumnOf(positions[slot])) + ", row " + std::to_string(RowOf(positions[slot]))
                + ") does not fit the 655 x 557 board";
    if (counts.size() != FileConv::kCountClasses)
        return "the layout does not hold 41 tile counts";
    if (setSize < 1)
        return "the set size is less than 1";
    if (count % setSize != 0)
        return "the number of positions is not a multiple of the set size";

    int32_t tiles = 0;
    for (int32_t k = 0; k < FileConv::kCountClasses; ++k) {
        const bool spread = k >= 38;
        const int32_t n = spread ? SpreadCount(counts[k]) : counts[k];
        const int32_t mode = spread ? SpreadMode(counts[k]) : 0;
        tiles += n;
        if (n % setSize != 0)
            return "the tile count of " + ClassName(k) + " is not a multiple of the set size";
        if (mode == 2 && n > 16)
            return ClassName(k) + " holds more than 16 tiles in spread mode 2";
        if (mode == 2 && ((n >= 4 && 4 % setSize != 0) || n % 4 % setSize != 0))
            return "a face block of " + ClassName(k) + " is not a multiple of the set size";
        if (mode == 3 && (n < 4 || n % 4 != 0))
            return ClassName(k) + " in spread mode 3 does not hold a multiple of 4 tiles, at least 4";
        if (mode == 3 && n / 4 % setSize != 0)
            return "a face block of " + ClassName(k) + " is not a multiple of the set size";
    }
    // Seasons dealt face by face take their faces as match classes, and the first
    // season face equals the match class of extra faces dealt as one class.
    const bool seasonsByFace = SpreadCount(counts[38]) > 0 && SpreadMode(counts[38]) >= 2;
    const bool extrasAsClass = SpreadCount(counts[40]) > 0 && SpreadMode(counts[40]) <= 1;
    if (seasonsByFace && extrasAsClass)
        return "the seasons in spread mode 2 or 3 would match the extra faces of class 40 in spread mode 0 or 1";
    if (tiles != count)
        return "the tile counts add up to " + std::to_string(tiles) + ", not to the " + std::to_string(count)
            + " positions";
    return {};
}

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
    RandomSource& random = RandomSource::Shared();
    for (int32_t i = 1; i < static_cast<int32_t>(values.size()); ++i)
        Swap(values[i], values[random.Draw(i)]);
}

void PaiStructure::BuildDeal(const FileConv& layout, int32_t problem, int32_t faceDown,
                             const std::string& answerPath)
{
    RandomSource& random = RandomSource::Shared();
    random.Reset(kDealReset);
    if (problem != 0)
        random.Seed(problem);
    else
        random.SeedFromClock();

    const std::vector<uint16_t> positions = layout.GetPositionArray();
    const std::vector<uint8_t> counts = layout.GetPaiArray();
    const std::string fault = LayoutFault(positions, counts, layout.GetPlaytime());
    if (!fault.empty())
        throw NumberedError(NumberedError::InvalidArgument, "layout is not well formed: " + fault);
    once_ = layout.GetPlaytime();
    PlacePositions(positions);

    std::vector<TileKind> tiles = MakeTileList(counts);
    ShuffleSets(tiles);
    std::vector<int32_t> order(maxId_);
    for (int32_t i = 0; i < maxId_; ++i)
        order[i] = i;
    Shuffle(order);
    PlayOut(order);
    HandOutTiles(tiles);
    CalcSelectable();
    if (!answerPath.empty())
        WriteAnswer(answerPath);
    ApplyFaceDown(faceDown, order);
    BuildBltOrder();
}

void PaiStructure::PlacePositions(const std::vector<uint16_t>& positions)
{
    maxId_ = static_cast<int32_t>(positions.size());
    indexedCodes_ = positions;
    for (int32_t id = maxId_ - 1; id >= 0; --id) {
        paiTable_[id].Validity = kTrue;
        paiTable_[id].Position = positions[id];
        positionIndex_[positions[id]] = static_cast<int16_t>(id);
    }
    CalcBltPos();
    LinkNeighbours();
}

std::vector<PaiStructure::TileKind> PaiStructure::MakeTileList(const std::vector<uint8_t>& counts)
{
    // Face of the first tile of each of the classes 0-37.
    const auto plainFace = [](int32_t k) {
        if (k <= 8) return k;
        if (k <= 17) return k + 1;
        if (k <= 26) return k + 2;
        if (k <= 36) return k + 3;
        return 48;
    };
    std::vector<TileKind> tiles;
    tiles.reserve(maxId_);
    for (int32_t k = 0; k <= 37; ++k)
        tiles.insert(tiles.end(), counts[k], TileKind{plainFace(k), k});

    std::array<int32_t, 4> p = {0, 1, 2, 3};
    RandomSource& random = RandomSource::Shared();
    for (int32_t k = 38; k <= 40; ++k) {
        for (int32_t m = 1; m <= 3; ++m)
            Swap(p[m], p[random.Draw(m)]);
        const int32_t base = k == 38 ? 40 : k == 39 ? 44 : 50;
        const int32_t mode = SpreadMode(counts[k]);
        const int32_t n = SpreadCount(counts[k]);
        for (int32_t i = 0; i < n; ++i) {
            switch (mode) {
            case 0: tiles.push_back({base + p[i % 4], k}); break;
            case 1: tiles.push_back({base, k}); break;
            case 2: tiles.push_back({base + p[i / 4], base + p[i / 4]}); break;
            default: tiles.push_back({base + p[i / (n / 4)], base + p[i / (n / 4)]}); break;
            }
        }
    }
    return tiles;
}

void PaiStructure::ShuffleSets(std::vector<TileKind>& tiles)
{
    RandomSource& random = RandomSource::Shared();
    const int32_t sets = maxId_ / once_;
    for (int32_t m = 1; m < sets; ++m) {
        const int32_t r = random.Draw(m);
        std::swap_ranges(tiles.begin() + m * once_, tiles.begin() + (m + 1) * once_, tiles.begin() + r * once_);
    }
}

// Takes free tiles set by set in a random order. A dead end puts back the
// unfinished set and one whole set more than the dead end before.
void PaiStructure::PlayOut(std::vector<int32_t>& order)
{
    LinkDependents();
    removal_.assign(maxId_, 0);
    std::vector<int32_t> touched;
    int32_t removed = 0;
    int32_t depth = 1;
    int32_t j = 0;
    CalcSelectable();
    for (int steps = 0; removed < maxId_; ++steps) {
        if (steps % kStepsPerClockLook == 0)
            PumpEvents();
        const int32_t s = order[j];
        if (paiTable_[s].Selectable != kFalse) {
            removal_[removed++] = s;
            PickedPai(s);
            touched.push_back(s);
            if (removed % once_ == 0) {
                RefreshFreedom(touched);
                Shuffle(order);
                j = -1;
            }
        }
        if (++j == maxId_) {
            BackUp(removed, depth, touched);
            ++depth;
            RefreshFreedom(touched);
            Shuffle(order);
            j = 0;
        }
    }
}

void PaiStructure::BackUp(int32_t& removed, int32_t depth, std::vector<int32_t>& touched)
{
    const int32_t unfinished = removed % once_;
    if (removed - unfinished < depth * once_)
        throw NumberedError(NumberedError::InvalidArgument,
                            "no deal found: the play-out backed up to the start after "
                                + std::to_string(depth) + " dead ends");
    for (int32_t k = 0; k < unfinished + depth * once_; ++k) {
        SetPlayback(removal_[--removed]);
        touched.push_back(removal_[removed]);
    }
}

// For each slot, the slots whose links name it: only they can change their
// freedom when it is taken or put back.
void PaiStructure::LinkDependents()
{
    dependentStart_.assign(maxId_ + 1, 0);
    const auto eachLink = [this](const auto& visit) {
        for (int32_t id = 0; id < maxId_; ++id) {
            const PaiSlot& slot = paiTable_[id];
            for (const int32_t link : {slot.RightID, slot.LeftID, slot.RightUpID, slot.LeftUpID, slot.RightDownID,
                                       slot.LeftDownID})
                if (link != kNone)
                    visit(link, id);
            for (const int32_t link : slot.OverID)
                if (link != kNone)
                    visit(link, id);
        }
    };
    eachLink([this](int32_t link, int32_t) { ++dependentStart_[link + 1]; });
    for (int32_t id = 0; id < maxId_; ++id)
        dependentStart_[id + 1] += dependentStart_[id];
    dependents_.resize(dependentStart_[maxId_]);
    std::vector<int32_t> next(dependentStart_.begin(), dependentStart_.end() - 1);
    eachLink([this, &next](int32_t link, int32_t id) { dependents_[next[link]++] = id; });
}

// Gives the same freedom as CalcSelectable for the play-out: a slot's freedom
// changes only when a slot it links to, or the slot itself, was taken or put
// back since the last look. The hint is not needed there.
void PaiStructure::RefreshFreedom(std::vector<int32_t>& touched)
{
    for (const int32_t id : touched) {
        RefreshSlot(id);
        for (int32_t k = dependentStart_[id]; k < dependentStart_[id + 1]; ++k)
            RefreshSlot(dependents_[k]);
    }
    touched.clear();
}

void PaiStructure::PumpEvents()
{
    if (!eventPump_ || std::chrono::steady_clock::now() - lastPump_ < kPumpInterval)
        return;
    eventPump_();
    lastPump_ = std::chrono::steady_clock::now();
}

void PaiStructure::HandOutTiles(const std::vector<TileKind>& tiles)
{
    for (int32_t b = 0; b < maxId_; ++b) {
        PaiSlot& slot = paiTable_[removal_[b]];
        slot.Validity = kTrue;
        slot.PaiIndex = tiles[b].face;
        slot.Group = tiles[b].group;
        slot.Mode = MODE_NORMAL;
    }
}

void PaiStructure::WriteAnswer(const std::string& answerPath) const
{
    std::string text;
    for (const int32_t s : removal_)
        text += FormatAnswer(paiTable_[s].Position, paiTable_[s].PaiIndex) + "\r\n";
    WriteFileAtomically(answerPath, text);
}

std::string PaiStructure::FormatAnswer(int32_t code, int32_t face)
{
    return std::to_string(LayerOf(code) + 1) + "F (" + RightAligned3(ColumnOf(code) - 17) + ", "
        + RightAligned3(10 - RowOf(code)) + ") " + FaceName(face);
}

void PaiStructure::ApplyFaceDown(int32_t faceDown, std::vector<int32_t>& order)
{
    if (faceDown == 1) {
        for (int32_t id = 0; id < maxId_; ++id)
            paiTable_[id].RevMode = 1;
    } else if (faceDown >= 2) {
        Shuffle(order);
        for (int32_t i = 0; i < std::min(faceDown, maxId_); ++i)
            paiTable_[order[i]].RevMode = 2;
    }
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
