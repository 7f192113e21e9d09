#pragma once

#include <cstdint>

// The colours the game's surfaces are keyed and filled with, as the layer
// takes them (0xBBGGRR).
namespace ScreenColours {

inline constexpr uint32_t kWhite = 0xFFFFFF;
// Transparent in the tile sheet.
inline constexpr uint32_t kTileKey = 0xFF00FF;
// Transparent in the button-bar sheet.
inline constexpr uint32_t kButtonKey = 0x0000FF;
// The blue around the board, behind the button bar and the side panel.
inline constexpr uint32_t kBackdrop = 0xFF9933;

} // namespace ScreenColours
