#include "PaiStructure.h"

#include "BoardGeometry.h"
#include "NumberedError.h"

#include <istream>
#include <ostream>

using namespace board;

namespace {

using SavedTable = std::array<PaiSlot, PaiStructure::kSlots>;

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

[[noreturn]] void Refuse(const std::string& problem)
{
    throw NumberedError(NumberedError::SubscriptOutOfRange, "board record refused: " + problem);
}

[[noreturn]] void RefuseSlot(int32_t id, const std::string& problem)
{
    Refuse("slot " + std::to_string(id) + ": " + problem);
}

std::string Is(const char* field, int32_t value) { return std::string(field) + " is " + std::to_string(value); }

struct NamedField {
    std::string name;
    int32_t value;
};

// Every field of a slot in record order, under the name the record uses.
std::vector<NamedField> FieldsOf(const PaiSlot& slot)
{
    std::vector<NamedField> fields = {
        {"Position", slot.Position},   {"Validity", slot.Validity}, {"Selectable", slot.Selectable},
        {"HintMark", slot.HintMark},   {"Group", slot.Group},       {"PaiIndex", slot.PaiIndex},
        {"PaiBltX", slot.PaiBltX},     {"PaiBltY", slot.PaiBltY},   {"Mode", slot.Mode},
        {"RevMode", slot.RevMode},     {"RightID", slot.RightID},   {"LeftID", slot.LeftID},
        {"RightUpID", slot.RightUpID}, {"LeftUpID", slot.LeftUpID}, {"RightDownID", slot.RightDownID},
        {"LeftDownID", slot.LeftDownID}};
    for (size_t j = 0; j < slot.OverID.size(); ++j)
        fields.push_back({"OverID[" + std::to_string(j) + "]", slot.OverID[j]});
    return fields;
}

void ExpectSameFields(int32_t id, const PaiSlot& saved, const PaiSlot& expected, const std::string& source)
{
    const std::vector<NamedField> got = FieldsOf(saved), want = FieldsOf(expected);
    for (size_t i = 0; i < got.size(); ++i)
        if (got[i].value != want[i].value)
            RefuseSlot(id, got[i].name + " is " + std::to_string(got[i].value) + ", " + source + " "
                               + std::to_string(want[i].value));
}

PaiSlot ReadSlot(RecordReader& reader)
{
    PaiSlot slot;
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
    return slot;
}

// Slots past the tile count stay zero-filled; taking moves back sets every
// slot's Mode to normal, those included.
void ExpectUnused(int32_t id, const PaiSlot& saved)
{
    PaiSlot unused;
    if (saved.Mode == PaiStructure::MODE_NORMAL)
        unused.Mode = PaiStructure::MODE_NORMAL;
    ExpectSameFields(id, saved, unused, "past the tile count it must be");
}

void ExpectPlaceable(const SavedTable& saved, int32_t maxId)
{
    std::vector<int32_t> slotAt(kCodeSpace, kNone);
    for (int32_t id = 0; id < maxId; ++id) {
        const int32_t code = saved[id].Position;
        if (!InGrid(code))
            RefuseSlot(id, Is("Position", code) + ", outside the 36 x 22 x 8 grid");
        if (!FitsTheBoard(code))
            RefuseSlot(id, Is("Position", code) + ", a tile that does not fit the 655 x 557 board");
        if (slotAt[code] != kNone)
            RefuseSlot(id, Is("Position", code) + ", the position of slot " + std::to_string(slotAt[code]) + " too");
        slotAt[code] = id;
    }
}

void ExpectPlayState(const SavedTable& saved, int32_t maxId)
{
    const bool allFaceDown = saved[0].RevMode == 1;
    for (int32_t id = 0; id < maxId; ++id) {
        const PaiSlot& slot = saved[id];
        if (slot.Validity != kTrue && slot.Validity != kFalse)
            RefuseSlot(id, Is("Validity", slot.Validity) + ", not a boolean");
        const bool present = slot.Validity == kTrue;
        const int32_t mode = slot.Mode;
        if (present && mode != PaiStructure::MODE_NORMAL && mode != PaiStructure::MODE_SELECTED
            && mode != PaiStructure::MODE_PLAYBACK)
            RefuseSlot(id, Is("Mode", mode) + ", not 1, 3 or 5");
        if (!present && mode != PaiStructure::MODE_NORMAL)
            RefuseSlot(id, Is("Mode", mode) + " on a tile off the board, not 1");
        if (slot.RevMode < 0 || slot.RevMode > 2)
            RefuseSlot(id, Is("RevMode", slot.RevMode) + ", not 0, 1 or 2");
        if ((slot.RevMode == 1) != allFaceDown)
            RefuseSlot(id, Is("RevMode", slot.RevMode) + " but slot 0's is " + std::to_string(saved[0].RevMode)
                               + ": either every tile or none stays face down until selected");
    }
}

// The count class that deals a face, or kNone for a face no deal gives.
int32_t CountClassOfFace(int32_t face)
{
    for (int32_t k = 0; k <= 37; ++k)
        if (FaceOfPlainClass(k) == face)
            return k;
    for (int32_t k = 38; k <= 40; ++k)
        if (face >= SpreadBaseFace(k) && face < SpreadBaseFace(k) + 4)
            return k;
    return kNone;
}

// A face always has the match class of its count class, except that the
// classes 38-40 may be dealt face by face, each face its own match class.
// All tiles of one face share one match class, all tiles of one match class
// come from one count class, and every match class holds whole sets.
void ExpectTileKinds(const SavedTable& saved, int32_t maxId, int32_t once)
{
    std::array<int32_t, kGroups> firstOfFace, firstOfGroup, tilesOfGroup{};
    firstOfFace.fill(kNone);
    firstOfGroup.fill(kNone);
    for (int32_t id = 0; id < maxId; ++id) {
        const int32_t face = saved[id].PaiIndex, group = saved[id].Group;
        const int32_t k = face >= 0 && face < kGroups ? CountClassOfFace(face) : kNone;
        if (k == kNone)
            RefuseSlot(id, Is("PaiIndex", face) + ", a face no deal gives");
        if (group != k && (k < 38 || group != face))
            RefuseSlot(id, Is("Group", group) + ", but face " + std::to_string(face) + " is dealt in match class "
                               + std::to_string(k) + (k < 38 ? "" : " or " + std::to_string(face)));
        const int32_t sameFace = firstOfFace[face];
        if (sameFace != kNone && saved[sameFace].Group != group)
            RefuseSlot(id, Is("Group", group) + ", but slot " + std::to_string(sameFace) + " of the same face "
                               + std::to_string(face) + " has " + std::to_string(saved[sameFace].Group));
        const int32_t sameGroup = firstOfGroup[group];
        if (sameGroup != kNone && CountClassOfFace(saved[sameGroup].PaiIndex) != k)
            RefuseSlot(id, Is("Group", group) + " for face " + std::to_string(face) + ", and for face "
                               + std::to_string(saved[sameGroup].PaiIndex) + " of slot " + std::to_string(sameGroup)
                               + ", which no deal puts in one match class");
        if (sameFace == kNone)
            firstOfFace[face] = id;
        if (sameGroup == kNone)
            firstOfGroup[group] = id;
        ++tilesOfGroup[group];
    }
    for (int32_t group = 0; group < kGroups; ++group)
        if (tilesOfGroup[group] % once != 0)
            RefuseSlot(firstOfGroup[group], Is("Group", group) + ", a match class of "
                                                + std::to_string(tilesOfGroup[group])
                                                + " tiles, not a multiple of the set size " + std::to_string(once));
}

// A selection holds free tiles of one match class, fewer than a set.
void ExpectSelection(const SavedTable& table, int32_t maxId, int32_t once)
{
    int32_t selected = 0, first = kNone;
    for (int32_t id = 0; id < maxId; ++id) {
        if (table[id].Validity != kTrue || table[id].Mode != PaiStructure::MODE_SELECTED)
            continue;
        if (table[id].Selectable != kTrue)
            RefuseSlot(id, "Mode is 3 (selected) on a tile that is not free");
        if (first != kNone && table[id].Group != table[first].Group)
            RefuseSlot(id, "Mode is 3 (selected) on a tile of another match class than selected slot "
                               + std::to_string(first));
        if (++selected >= once)
            RefuseSlot(id, "Mode is 3 (selected) on " + std::to_string(selected)
                               + " tiles, a whole set of size " + std::to_string(once));
        first = first == kNone ? id : first;
    }
}

} // namespace

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
    SlotTable saved;
    for (PaiSlot& slot : saved)
        slot = ReadSlot(reader);
    const int32_t maxId = reader.Int32();
    const int32_t once = reader.Int32();
    if (maxId < 1 || maxId > kSlots)
        Refuse(Is("MaxID", maxId) + ", not 1 to 512");
    if (once < 1 || maxId % once != 0)
        Refuse(Is("Once", once) + ", which does not divide MaxID " + std::to_string(maxId));
    for (int32_t id = maxId; id < kSlots; ++id)
        ExpectUnused(id, saved[id]);

    PaiStructure expected;
    expected.RebuildFromRecord(saved, maxId, once);
    for (int32_t id = 0; id < maxId; ++id)
        ExpectSameFields(id, saved[id], expected.paiTable_[id], "the board's positions give");
    ExpectSelection(expected.paiTable_, maxId, once);

    paiTable_ = expected.paiTable_;
    bltOrder_ = expected.bltOrder_;
    maxId_ = maxId;
    once_ = once;
}

// Places the saved positions as a deal does and puts the saved tiles and play
// state on them, so that everything derived is worked out afresh.
void PaiStructure::RebuildFromRecord(const SlotTable& saved, int32_t maxId, int32_t once)
{
    ExpectPlaceable(saved, maxId);
    ExpectPlayState(saved, maxId);
    ExpectTileKinds(saved, maxId, once);
    std::vector<uint16_t> positions(maxId);
    for (int32_t id = 0; id < maxId; ++id)
        positions[id] = static_cast<uint16_t>(saved[id].Position);
    PlacePositions(positions);
    for (int32_t id = 0; id < maxId; ++id) {
        PaiSlot& slot = paiTable_[id];
        slot.Validity = saved[id].Validity;
        slot.Group = saved[id].Group;
        slot.PaiIndex = saved[id].PaiIndex;
        slot.Mode = saved[id].Mode;
        slot.RevMode = saved[id].RevMode;
    }
    once_ = once;
    CalcSelectable();
    BuildBltOrder();
}
