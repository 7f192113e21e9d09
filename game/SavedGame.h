#pragma once

#include <cstdint>
#include <string>
#include <vector>

class PaiStructure;

// One saved game as it lies in save.dat, little-endian and packed: the
// board-state record (512 slot records of 94 bytes, tile count, set size),
// then the drawing order and the move history (tile count ids each), the
// removed count and auto-hint as a 16-bit boolean (-1 true, 0 false).
struct SavedGame {
    static constexpr int32_t kMaxTiles = 512;
    static constexpr size_t kSlotRecordBytes = 94;
    // Validity, then Selectable, as 16-bit booleans.
    static constexpr size_t kValidityOffset = 4;
    // The slot records; the tile count and the set size follow them.
    static constexpr size_t kSlotTableBytes = 512 * kSlotRecordBytes;
    static constexpr size_t kBoardRecordBytes = kSlotTableBytes + 8;

    std::string boardRecord;
    int32_t tileCount = 0;
    int32_t once = 0;
    std::vector<int32_t> drawOrder;
    std::vector<int32_t> history;
    int32_t removedCount = 0;
    bool autoHint = false;

    static size_t FileSize(int32_t tileCount);

    // Takes a whole file apart and checks everything the game relies on: the
    // exact length, a tile count of 1-512, a set size that divides it, every
    // id below the tile count, each tile once in the drawing order, a removed
    // count that is a multiple of the set size and at most the tile count,
    // and the tiles off the board named by the history. A fault raises
    // NumberedError(SubscriptOutOfRange) naming it. The slot records are
    // checked by LoadBoardInto.
    static SavedGame Parse(const std::string& bytes);
    std::string Serialize() const;

    // Checks the board record, then the drawing order and every move of the
    // history against the board it describes (each set one match class, each
    // tile free when it was taken), and only then loads the record into board.
    // A refusal raises a NumberedError and leaves board as it was.
    void LoadBoardInto(PaiStructure& board) const;

    // Reads and parses the file at path; file errors are NumberedErrors.
    static SavedGame ReadFile(const std::string& path);
    // Writes the file beside path and renames it into place only when every
    // byte is written, so a failure leaves the file at path as it was.
    void WriteFile(const std::string& path) const;

private:
    void ExpectEachTileDrawnOnce() const;
    void ExpectHistoryOfRemovedTiles() const;
    void ExpectDrawingOrderOf(const PaiStructure& board) const;
    void ExpectMovesPlayableOn(PaiStructure board) const;
};
