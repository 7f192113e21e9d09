#include "PaiStructure.h"

#include "AtomicFile.h"
#include "BoardGeometry.h"
#include "FileConv.h"
#include "NumberedError.h"
#include "RandomSource.h"

#include <algorithm>
#include <chrono>

using namespace board;

namespace {

// The seed every deal starts from before the problem number is mixed in.
constexpr int16_t kDealReset = -19384;

// The play-out looks at the clock only every so many steps, and lets events
// run when this much time has passed.
constexpr int kStepsPerClockLook = 256;
constexpr auto kPumpInterval = std::chrono::milliseconds(5);

int32_t SpreadMode(uint8_t countByte) { return countByte >> 6; }
int32_t SpreadCount(uint8_t countByte) { return countByte & 63; }

std::string ClassName(int32_t k) { return "class " + std::to_string(k); }

// The names of the 54 faces, two characters each, in face order.
constexpr const char* kFaceNames =
    "一萬二萬三萬四萬伍萬六萬七萬八萬九萬◆◆"
    "１索２索３索４索５索６索７索８索９索◆◆"
    "１筒２筒３筒４筒５筒６筒７筒８筒９筒◆◆"
    "東　南　西　北　白　発　中　□　鳳　龍　"
    "季春季夏季秋季冬花梅花蘭花竹花菊百塔◆◆"
    "天牌女牌散牌華牌";

std::string RightAligned3(int32_t value)
{
    std::string text = std::to_string(value);
    return std::string(text.size() < 3 ? 3 - text.size() : 0, ' ') + text;
}

} // namespace

std::string PaiStructure::FaceName(int32_t face)
{
    if (face < 0 || face >= kGroups)
        throw NumberedError(NumberedError::SubscriptOutOfRange, "face " + std::to_string(face));
    // Every character of the table is three bytes in UTF-8.
    return std::string(kFaceNames + face * 6, 6);
}

void PaiStructure::CreateTable(const std::string& layoutPath, int32_t problem, int32_t faceDown,
                               const std::string& answerPath)
{
    Build([&] {
        FileConv layout;
        layout.LoadFile(layoutPath);
        BuildDeal(layout, problem, faceDown, answerPath);
    }, faceDown);
}

void PaiStructure::CreateTable(const FileConv& layout, int32_t problem, int32_t faceDown)
{
    Build([&] { BuildDeal(layout, problem, faceDown, {}); }, faceDown);
}

void PaiStructure::Build(const std::function<void()>& deal, int32_t faceDown)
{
    if (building_)
        throw NumberedError(NumberedError::InvalidArgument, "a deal is already being built");
    building_ = true;
    try {
        Empty();
        if (faceDown < 0)
            throw NumberedError(NumberedError::InvalidArgument,
                                "face-down count " + std::to_string(faceDown) + " is negative");
        deal();
        ForgetPositions();
    } catch (...) {
        ForgetPositions();
        Empty();
        building_ = false;
        throw;
    }
    building_ = false;
}

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
        if (!InGrid(code))
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

void PaiStructure::BuildDeal(const FileConv& layout, int32_t problem, int32_t faceDown,
                             const std::string& answerPath)
{
    RandomSource& random = random_;
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
    std::vector<TileKind> tiles;
    tiles.reserve(maxId_);
    for (int32_t k = 0; k <= 37; ++k)
        tiles.insert(tiles.end(), counts[k], TileKind{FaceOfPlainClass(k), k});

    std::array<int32_t, 4> p = {0, 1, 2, 3};
    RandomSource& random = random_;
    for (int32_t k = 38; k <= 40; ++k) {
        for (int32_t m = 1; m <= 3; ++m)
            Swap(p[m], p[random.Draw(m)]);
        const int32_t base = SpreadBaseFace(k);
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
    RandomSource& random = random_;
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

