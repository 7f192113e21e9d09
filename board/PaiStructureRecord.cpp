#include "PaiStructure.h"

#include "BoardGeometry.h"
#include "NumberedError.h"

#include <istream>
#include <ostream>

using namespace board;

namespace {

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

