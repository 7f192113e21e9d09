#pragma once

#include "PaiStructure.h"

#include <cstdint>

// Position codes, slot booleans and the drawing geometry shared by the
// board's model, deal and record code.
namespace board {

constexpr int16_t kTrue = -1;
constexpr int16_t kFalse = 0;
constexpr int32_t kNone = -1;

constexpr int32_t kColumns = 36;
constexpr int32_t kRows = 22;
constexpr int32_t kLayers = 8;
constexpr int32_t kGroups = 54;
constexpr int32_t kCodeSpace = 32768;

inline int32_t LayerOf(int32_t code) { return code / 2048; }
inline int32_t ColumnOf(int32_t code) { return code / 32 % 64; }
inline int32_t RowOf(int32_t code) { return code % 32; }
inline int32_t CodeOf(int32_t layer, int32_t column, int32_t row) { return layer * 2048 + column * 32 + row; }

inline bool InGrid(int32_t code)
{
    return code >= 0 && code < kCodeSpace && LayerOf(code) < kLayers && ColumnOf(code) < kColumns
        && RowOf(code) < kRows;
}

inline int16_t AsBoolean(bool value) { return value ? kTrue : kFalse; }

// Where a tile is drawn: half-tile cells, each layer raised up and to the left.
inline BoardPoint BltPosOf(int32_t code)
{
    return {ColumnOf(code) * 18 - LayerOf(code) * 6, RowOf(code) * 25 - LayerOf(code) * 6};
}

// Tiles are drawn all or nothing, so a tile whose picture reaches past the
// board's edge would be invisible yet still free and clickable.
inline bool FitsTheBoard(int32_t code)
{
    const BoardPoint origin = BltPosOf(code);
    return origin.x >= 0 && origin.y >= 0 && origin.x + PaiStructure::kTileWidth <= PaiStructure::kBoardWidth
        && origin.y + PaiStructure::kTileHeight <= PaiStructure::kBoardHeight;
}

// The first face of each of the count classes 0-37: one face per class.
inline int32_t FaceOfPlainClass(int32_t k)
{
    if (k <= 8) return k;
    if (k <= 17) return k + 1;
    if (k <= 26) return k + 2;
    if (k <= 36) return k + 3;
    return 48;
}

// The four faces of the count classes 38-40 (seasons, flowers, extras)
// start at this face.
inline int32_t SpreadBaseFace(int32_t k) { return k == 38 ? 40 : k == 39 ? 44 : 50; }

} // namespace board
