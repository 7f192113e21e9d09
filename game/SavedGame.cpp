#include "SavedGame.h"

#include <filesystem>
#include <iterator>
#include <sstream>
#include <system_error>

#include "AtomicFile.h"
#include "NumberedError.h"
#include "PaiStructure.h"
#include "RegularFile.h"

namespace {

constexpr int16_t kTrue = -1;
constexpr int16_t kFalse = 0;

[[noreturn]] void Refuse(const std::string& problem)
{
    throw NumberedError(NumberedError::SubscriptOutOfRange, "saved game refused: " + problem);
}

class ByteReader {
public:
    ByteReader(const std::string& bytes, size_t position) : bytes_(bytes), position_(position) {}

    int32_t Int32() { return static_cast<int32_t>(Unsigned(4)); }
    int16_t Int16() { return static_cast<int16_t>(Unsigned(2)); }

    std::vector<int32_t> Ids(int32_t count, int32_t limit, const char* what)
    {
        std::vector<int32_t> ids(count);
        for (int32_t i = 0; i < count; ++i) {
            ids[i] = Int32();
            if (ids[i] < 0 || ids[i] >= limit)
                Refuse(std::string(what) + " entry " + std::to_string(i) + " is " + std::to_string(ids[i]) +
                       ", not a slot below the tile count " + std::to_string(limit));
        }
        return ids;
    }

private:
    uint32_t Unsigned(int size)
    {
        uint32_t value = 0;
        for (int i = 0; i < size; ++i)
            value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes_[position_ + i])) << (8 * i);
        position_ += size;
        return value;
    }

    const std::string& bytes_;
    size_t position_;
};

void AppendInt(std::string& out, int32_t value, int size)
{
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < size; ++i)
        out.push_back(static_cast<char>(bits >> (8 * i) & 0xFF));
}

} // namespace

size_t SavedGame::FileSize(int32_t tileCount)
{
    return kBoardRecordBytes + 6 + 8 * static_cast<size_t>(tileCount);
}

SavedGame SavedGame::Parse(const std::string& bytes)
{
    if (bytes.size() < FileSize(1))
        Refuse("the file holds " + std::to_string(bytes.size()) + " bytes, too few for any game");
    SavedGame game;
    ByteReader reader(bytes, kSlotTableBytes);
    game.tileCount = reader.Int32();
    game.once = reader.Int32();
    if (game.tileCount < 1 || game.tileCount > kMaxTiles)
        Refuse("tile count " + std::to_string(game.tileCount) + " is not 1 to 512");
    if (bytes.size() != FileSize(game.tileCount))
        Refuse("the file holds " + std::to_string(bytes.size()) + " bytes, a game of " +
               std::to_string(game.tileCount) + " tiles takes " + std::to_string(FileSize(game.tileCount)));
    if (game.once < 1 || game.tileCount % game.once != 0)
        Refuse("set size " + std::to_string(game.once) + " does not divide the tile count " +
               std::to_string(game.tileCount));

    game.boardRecord = bytes.substr(0, kBoardRecordBytes);
    game.drawOrder = reader.Ids(game.tileCount, game.tileCount, "drawing order");
    game.history = reader.Ids(game.tileCount, game.tileCount, "move history");
    game.removedCount = reader.Int32();
    if (game.removedCount < 0 || game.removedCount > game.tileCount || game.removedCount % game.once != 0)
        Refuse("removed count " + std::to_string(game.removedCount) + " is not a multiple of the set size " +
               std::to_string(game.once) + " from 0 to the tile count");
    const int16_t autoHint = reader.Int16();
    if (autoHint != kTrue && autoHint != kFalse)
        Refuse("auto-hint is " + std::to_string(autoHint) + ", not a boolean");
    game.autoHint = autoHint == kTrue;
    game.ExpectEachTileDrawnOnce();
    game.ExpectHistoryOfRemovedTiles();
    return game;
}

void SavedGame::ExpectEachTileDrawnOnce() const
{
    std::vector<bool> drawn(tileCount, false);
    for (const int32_t id : drawOrder) {
        if (drawn[id])
            Refuse("drawing order holds slot " + std::to_string(id) + " twice");
        drawn[id] = true;
    }
}

// The tiles off the board must be exactly the first removedCount entries of
// the history; otherwise a move or a take-back would run past the history.
void SavedGame::ExpectHistoryOfRemovedTiles() const
{
    std::vector<bool> offBoard(tileCount);
    int32_t offCount = 0;
    for (int32_t id = 0; id < tileCount; ++id) {
        ByteReader flags(boardRecord, kSlotRecordBytes * id + kValidityOffset);
        offBoard[id] = flags.Int16() == kFalse;
        // Freedom is worked out again on load only for tiles on the board.
        if (offBoard[id] && flags.Int16() != kFalse)
            Refuse("slot " + std::to_string(id) + " is off the board but free");
        offCount += offBoard[id];
    }
    if (offCount != removedCount)
        Refuse("removed count " + std::to_string(removedCount) + " but " + std::to_string(offCount) +
               " tiles are off the board");
    for (int32_t i = 0; i < removedCount; ++i) {
        if (!offBoard[history[i]])
            Refuse("move history entry " + std::to_string(i) + " names slot " + std::to_string(history[i]) +
                   ", which is on the board or named before");
        offBoard[history[i]] = false;
    }
}

void SavedGame::LoadBoardInto(PaiStructure& board) const
{
    PaiStructure checked;
    std::istringstream record(boardRecord);
    checked.LoadData(record);
    ExpectDrawingOrderOf(checked);
    ExpectMovesPlayableOn(checked);
    std::istringstream again(boardRecord);
    board.LoadData(again);
}

void SavedGame::ExpectDrawingOrderOf(const PaiStructure& board) const
{
    std::vector<int32_t> order;
    board.CopyBltOrder(order);
    for (int32_t i = 0; i < tileCount; ++i)
        if (drawOrder[i] != order[i])
            Refuse("drawing order entry " + std::to_string(i) + " is slot " + std::to_string(drawOrder[i]) +
                   ", the board's positions give slot " + std::to_string(order[i]));
}

// Puts every removed tile back and takes the history's sets again in turn.
void SavedGame::ExpectMovesPlayableOn(PaiStructure board) const
{
    for (int32_t i = 0; i < removedCount; ++i)
        board.SetPlayback(history[i]);
    board.CalcSelectable();
    for (int32_t start = 0; start < removedCount; start += once) {
        for (int32_t i = start; i < start + once; ++i) {
            const std::string entry = "move history entry " + std::to_string(i) + " (slot " +
                                      std::to_string(history[i]) + ")";
            if (!board.Selectable(history[i]))
                Refuse(entry + " was not free when it was taken");
            if (board.Group(history[i]) != board.Group(history[start]))
                Refuse(entry + " is of match class " + std::to_string(board.Group(history[i])) + ", its set of " +
                       std::to_string(board.Group(history[start])));
        }
        for (int32_t i = start; i < start + once; ++i)
            board.PickedPai(history[i]);
        board.CalcSelectable();
    }
}

std::string SavedGame::Serialize() const
{
    std::string out = boardRecord;
    out.reserve(FileSize(tileCount));
    for (const int32_t id : drawOrder)
        AppendInt(out, id, 4);
    for (const int32_t id : history)
        AppendInt(out, id, 4);
    AppendInt(out, removedCount, 4);
    AppendInt(out, autoHint ? kTrue : kFalse, 2);
    return out;
}

SavedGame SavedGame::ReadFile(const std::string& path)
{
    const std::vector<uint8_t> bytes = ReadRegularFile(path, FileSize(kMaxTiles), "the saved game");
    return Parse(std::string(bytes.begin(), bytes.end()));
}

void SavedGame::WriteFile(const std::string& path) const
{
    // A folder that cannot be made is named with its reason, not as a missing file.
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty())
        CreateFolders(folder.string());
    WriteFileAtomically(path, Serialize());
}
