#pragma once

#include <cstdint>

// A rectangle in pixels: left, top, right, bottom, right and bottom exclusive.
// Aggregate, so callers write {0, 0, w, h}.
struct PixelRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    // Right − Left and Bottom − Top; a difference that does not fit in 32 bits
    // raises NumberedError 6 (overflow).
    int32_t Width() const;
    int32_t Height() const;
};
