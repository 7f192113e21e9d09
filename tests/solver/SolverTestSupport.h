#pragma once

#include "BoardGeometry.h"
#include "BoardTestSupport.h"
#include "PaiStructure.h"
#include "RandomPlay.h"
#include "Solver.h"

#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

// The shipped layouts.
inline std::vector<std::string> ShippedLayouts()
{
    std::vector<std::string> paths;
    for (const char* name : {"classic", "beginner", "pyramid", "fortress", "bridge", "cross", "spiral", "butterfly",
                             "garden", "large", "trio", "quartet"})
        paths.push_back(std::string(TOVRIK_SOURCE_DIR) + "/data/template/" + name + ".tvm");
    return paths;
}

// Gives the board's tiles other match classes (each tile the plain face of
// its class) and another set size through its own board-state record, so
// that the board keeps the links it derived itself. The hint marks are worked
// out for the new classes, as a record must hold them.
inline void SetGroups(PaiStructure& board, const std::vector<int32_t>& groups, int32_t once)
{
    constexpr size_t kSlotBytes = 94, kHintMarkOffset = 8, kGroupOffset = 10, kFaceOffset = 14;
    std::ostringstream out;
    board.SaveData(out);
    std::string record = out.str();
    const auto put = [&record](size_t at, int32_t value, size_t bytes) {
        for (size_t b = 0; b < bytes; ++b)
            record[at + b] = static_cast<char>(static_cast<uint32_t>(value) >> (8 * b));
    };
    std::map<int32_t, int32_t> freeTiles;
    for (size_t slot = 0; slot < groups.size(); ++slot)
        freeTiles[groups[slot]] += board.Selectable(static_cast<int32_t>(slot)) ? 1 : 0;
    for (size_t slot = 0; slot < groups.size(); ++slot) {
        const bool hinted = board.Selectable(static_cast<int32_t>(slot)) && freeTiles[groups[slot]] >= once;
        put(slot * kSlotBytes + kHintMarkOffset, hinted ? -1 : 0, 2);
        put(slot * kSlotBytes + kGroupOffset, groups[slot], 4);
        put(slot * kSlotBytes + kFaceOffset, board::FaceOfPlainClass(groups[slot]), 4);
    }
    put(record.size() - 4, once, 4);
    std::istringstream in(record);
    board.LoadData(in);
    board.CalcSelectable();
}

inline void TakeTiles(PaiStructure& board, const std::vector<int32_t>& slots)
{
    for (const int32_t slot : slots)
        board.PickedPai(slot);
    board.CalcSelectable();
}

// Every free tile on the board, by the board's own rule.
inline std::vector<int32_t> FreeSlots(const PaiStructure& board)
{
    std::vector<int32_t> free;
    for (int32_t slot = 0; slot < board.MaxID(); ++slot) {
        if (board.Validity(slot) && board.Selectable(slot))
            free.push_back(slot);
    }
    return free;
}

// Plays the sets on a copy of the board, each checked against the board's
// own rule; the text names the first set that is not a legal move, or is
// empty when the sets clear the board.
inline std::string ClearsTheBoard(const PaiStructure& original, const std::vector<std::vector<int32_t>>& sets)
{
    PaiStructure board = original;
    board.CalcSelectable();
    for (size_t k = 0; k < sets.size(); ++k) {
        const std::vector<int32_t>& set = sets[k];
        bool legal = static_cast<int32_t>(set.size()) == board.Once();
        for (const int32_t slot : set)
            legal = legal && board.Validity(slot) && board.Selectable(slot) && board.Group(slot) == board.Group(set[0]);
        if (!legal)
            return "set " + std::to_string(k) + " is not a legal move";
        TakeTiles(board, set);
    }
    for (int32_t slot = 0; slot < board.MaxID(); ++slot) {
        if (board.Validity(slot))
            return "slot " + std::to_string(slot) + " is left";
    }
    return {};
}

// Deals the positions (with sets of one, which always deal) and then gives
// slot k class groups[k] and the board the set size `once`.
inline PaiStructure BoardWithGroups(const std::vector<uint16_t>& positions, int32_t once,
                                    const std::vector<int32_t>& groups)
{
    PaiStructure board;
    board.CreateTable(WriteLayout(positions, Counts({{0, static_cast<int>(positions.size())}}), 1), 1, 0);
    SetGroups(board, groups, once);
    return board;
}
