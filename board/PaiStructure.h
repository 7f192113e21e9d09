#pragma once

#include "RandomSource.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

class FileConv;

// One tile slot of the board. Booleans are 16-bit, -1 true and 0 false, as
// in the board-state record.
struct PaiSlot {
    int32_t Position = 0;
    int16_t Validity = 0;
    int16_t Selectable = 0;
    int16_t HintMark = 0;
    int32_t Group = 0;
    int32_t PaiIndex = 0;
    int32_t PaiBltX = 0;
    int32_t PaiBltY = 0;
    int32_t Mode = 0;
    int32_t RevMode = 0;
    int32_t RightID = 0;
    int32_t LeftID = 0;
    int32_t RightUpID = 0;
    int32_t LeftUpID = 0;
    int32_t RightDownID = 0;
    int32_t LeftDownID = 0;
    std::array<int32_t, 9> OverID{};
};

struct BoardPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// The board of one deal: a table of 512 slots, which tiles are free, hints,
// hit testing, the painting order, deal generation and the answer file.
// Slot numbers outside 0-511 raise NumberedError(SubscriptOutOfRange) and
// change nothing.
class PaiStructure {
public:
    static constexpr int32_t kSlots = 512;
    static constexpr int32_t kClearTiles = 48;
    // The board picture and a tile picture with its edge, in pixels.
    static constexpr int32_t kBoardWidth = 655;
    static constexpr int32_t kBoardHeight = 557;
    static constexpr int32_t kTileWidth = 43;
    static constexpr int32_t kTileHeight = 57;

    // Display modes of ModeGet.
    static constexpr int32_t MODE_FACEDOWN = 0;
    static constexpr int32_t MODE_NORMAL = 1;
    static constexpr int32_t MODE_SELECTED = 3;
    static constexpr int32_t MODE_HINT = 4;
    static constexpr int32_t MODE_PLAYBACK = 5;

    PaiStructure();

    int32_t Group(int32_t id) const;
    int32_t PaiBltX(int32_t id) const;
    int32_t PaiBltY(int32_t id) const;
    int32_t PaiIndex(int32_t id) const;
    bool Selectable(int32_t id) const;
    bool Validity(int32_t id) const;
    int32_t MaxID() const { return maxId_; }
    int32_t Once() const { return once_; }
    bool Hint() const { return hint_; }

    int32_t ModeGet(int32_t id, bool hint) const;
    void SetSelect(int32_t id);
    void LostSelect(int32_t id);
    void SetPlayback(int32_t id);
    void ModeErase();
    void CalcSelectable();
    void PickedPai(int32_t id);
    // Gives the slot another face and match class; the caller keeps every
    // class's tile count whole.
    void SetFace(int32_t id, int32_t face, int32_t group);

    // Builds a deal of the layout file at layoutPath. problem 0 gives a fresh
    // random deal; faceDown 0 none, 1 all until selected, n >= 2 that many
    // tiles until free. A non-empty answerPath gets the answer file. On any
    // failure (unreadable or ill-formed layout, no deal found, answer file not
    // written) a NumberedError is raised and the board is left empty.
    void CreateTable(const std::string& layoutPath, int32_t problem, int32_t faceDown,
                     const std::string& answerPath = {});
    // The same from a layout already read, without an answer file.
    void CreateTable(const FileConv& layout, int32_t problem, int32_t faceDown);
    // Lets pending window events run during CreateTable, at most every few
    // milliseconds. The board refuses a nested CreateTable meanwhile.
    void SetEventPump(std::function<void()> pump) { eventPump_ = std::move(pump); }
    bool Building() const { return building_; }

    int32_t GetOnMouseID(int32_t x, int32_t y) const;

    // The board-state record: 512 slots of 94 bytes, MaxID, Once; little-endian.
    void SaveData(std::ostream& out) const;
    // Reads the record and accepts only a board that play could have left:
    // what the positions determine (drawing origins, links, freedom, hint
    // marks, the painting order) is worked out again and must match, and the
    // faces, match classes and display modes must be ones a deal gives. A
    // short record raises NumberedError(InputPastEndOfFile), any other fault
    // NumberedError(SubscriptOutOfRange) naming the slot and the field; either
    // leaves the board as it was. Run CalcSelectable afterwards.
    void LoadData(std::istream& in);

    void CopyBltOrder(std::vector<int32_t>& order) const;
    // Stores the origin of CLEAR tile index (0-47); a larger index leaves point unchanged.
    void GetClearRect(BoardPoint& point, int32_t index) const;

    // Read access for tools and tests.
    const PaiSlot& Slot(int32_t id) const;
    // The slot numbers in the order the last deal's play-out took them.
    const std::vector<int32_t>& RemovalOrder() const { return removal_; }

    // The two-character name of face 0-53 that the answer file prints.
    static std::string FaceName(int32_t face);

    // Why a layout cannot be dealt, or empty when it is well formed.
    static std::string LayoutFault(const std::vector<uint16_t>& positions,
                                   const std::vector<uint8_t>& counts, int32_t setSize);

private:
    struct TileKind {
        int32_t face = 0;
        int32_t group = 0;
    };

    PaiSlot& CheckedSlot(int32_t id);
    const PaiSlot& CheckedSlot(int32_t id) const;
    void Empty();
    void CalcBltPos();
    void LinkNeighbours();
    void ForgetPositions();
    int32_t FindPosition(int32_t code) const;
    bool IsFree(int32_t id) const;
    // Sets a present slot's freedom from its links.
    void RefreshSlot(int32_t id);
    bool CalcHint();
    static void Swap(int32_t& a, int32_t& b);
    void Shuffle(std::vector<int32_t>& values);

    using SlotTable = std::array<PaiSlot, kSlots>;
    void RebuildFromRecord(const SlotTable& saved, int32_t maxId, int32_t once);

    // Runs deal on an emptied board, leaving it empty when deal fails.
    void Build(const std::function<void()>& deal, int32_t faceDown);
    void BuildDeal(const FileConv& layout, int32_t problem, int32_t faceDown,
                   const std::string& answerPath);
    void PlacePositions(const std::vector<uint16_t>& positions);
    std::vector<TileKind> MakeTileList(const std::vector<uint8_t>& counts);
    void ShuffleSets(std::vector<TileKind>& tiles);
    void PlayOut(std::vector<int32_t>& order);
    void BackUp(int32_t& removed, int32_t depth, std::vector<int32_t>& touched);
    void LinkDependents();
    void RefreshFreedom(std::vector<int32_t>& touched);
    void PumpEvents();
    void HandOutTiles(const std::vector<TileKind>& tiles);
    void WriteAnswer(const std::string& answerPath) const;
    static std::string FormatAnswer(int32_t code, int32_t face);
    void ApplyFaceDown(int32_t faceDown, std::vector<int32_t>& order);
    void BuildBltOrder();

    SlotTable paiTable_{};
    int32_t maxId_ = 0;
    int32_t once_ = 0;
    bool hint_ = false;
    std::array<int32_t, kSlots> bltOrder_{};
    std::array<BoardPoint, kClearTiles> clearPos_{};

    std::vector<int32_t> removal_;
    std::vector<int16_t> positionIndex_;
    std::vector<uint16_t> indexedCodes_;
    std::vector<int32_t> dependentStart_;
    std::vector<int32_t> dependents_;
    std::function<void()> eventPump_;
    // A board of its own, so that deals on other threads (the layout editor's
    // checks) never share a generator; each deal resets it.
    RandomSource random_;
    std::chrono::steady_clock::time_point lastPump_;
    bool building_ = false;
};
