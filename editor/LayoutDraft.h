#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class FileConv;

// A layout being edited: tiles on the 36 x 22 x 8 half-tile grid, each
// covering two columns and two rows, with the set size and the message. No
// two tiles of a level overlap, every tile above level 1 rests at least in
// part on a tile of the level below, and a tile that holds another up stays.
// Every change can be undone and redone.
class LayoutDraft {
public:
    static constexpr int kLevels = 8;
    static constexpr int kMaxTiles = 512;
    static constexpr size_t kUndoDepth = 1000;

    // Why a tile may not be placed or removed; Allowed when it may.
    enum class Verdict { Allowed, Occupied, OffBoard, Floating, Full, NoTile, HoldsOthers };

    struct Tile {
        int level = 0;
        int column = 0;
        int row = 0;
        friend bool operator==(const Tile&, const Tile&) = default;
    };

    LayoutDraft() = default;
    // Starts from a layout file's positions, set size and classes, which a save
    // keeps while the positions stay as they are.
    explicit LayoutDraft(const FileConv& file);

    // The file was saved from the draft: its classes are the ones kept from now on.
    void MarkSaved(const FileConv& file);

    Verdict CanPlace(const Tile& tile) const;
    Verdict CanRemove(const Tile& tile) const;
    Verdict Place(const Tile& tile);
    Verdict Remove(const Tile& tile);
    // The tile of level whose face holds the board point (x, y) in pixels, if any.
    bool TileAt(int level, int x, int y, Tile& found) const;

    // Adds the mirror image of every tile across the board's middle, left-right
    // or top-bottom, where the rules allow; one undo step. Returns how many came.
    int MirrorLeftRight();
    int MirrorTopBottom();

    bool Undo();
    bool Redo();
    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }

    const std::vector<Tile>& Tiles() const { return tiles_; }
    int Count() const { return static_cast<int>(tiles_.size()); }
    int SetSize() const { return setSize_; }
    void SetSetSize(int setSize) { setSize_ = setSize; }
    bool PositionsKept() const;

    // The layout file of the draft with message: positions level by level, row
    // by row, left to right (or as loaded while unchanged) and the classes.
    void Fill(FileConv& file, const std::u16string& message) const;
    // What the status line tells about the draft as a layout file.
    struct Checks {
        int count = 0;
        bool countFits = false;   // even, and a multiple of the set size
        bool withinLimit = true;  // at most kMaxTiles
        int offBoard = 0;         // tiles whose picture leaves the board
        std::string fault;        // what the deal refuses besides, when the count is right
        bool Saveable() const { return countFits && withinLimit && offBoard == 0 && fault.empty(); }
    };
    Checks Check() const;

    static uint16_t CodeOf(const Tile& tile);
    static Tile TileOf(uint16_t code);

private:
    bool Overlaps(const Tile& a, const Tile& b) const;
    bool Rests(const Tile& tile) const;
    int Mirror(bool leftRight);
    void Remember();
    std::vector<uint16_t> SortedCodes() const;

    std::vector<Tile> tiles_;
    int setSize_ = 2;
    std::vector<std::vector<Tile>> undo_;
    std::vector<std::vector<Tile>> redo_;
    // What a loaded file held, kept for as long as its positions are.
    std::vector<uint16_t> loadedPositions_;
    std::vector<uint8_t> loadedCounts_;
    int loadedSetSize_ = 0;
};
