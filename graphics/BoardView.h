#pragma once

#include "PixelRect.h"

#include <cmath>
#include <cstdint>

// Where the board is drawn on the work surface: board pixel (x, y) lands on
// (left + x × scale, top + y × scale), and the tile sheet it draws from was
// painted at the same scale, each region of the 1× sheet at its edges times
// scale, rounded. The default is the 1× board at the surface's corner.
struct BoardView {
    double scale = 1.0;
    double left = 0.0;
    double top = 0.0;

    int32_t X(double boardX) const { return static_cast<int32_t>(std::lround(left + boardX * scale)); }
    int32_t Y(double boardY) const { return static_cast<int32_t>(std::lround(top + boardY * scale)); }
    // A region of the 1× sheet as it lies on the sheet painted at scale.
    PixelRect Sheet(const PixelRect& r) const { return ScaledRect(r, scale); }

    static int32_t Scaled(int32_t edge, double scale)
    {
        return static_cast<int32_t>(std::lround(edge * scale));
    }
    static PixelRect ScaledRect(const PixelRect& r, double scale)
    {
        return {Scaled(r.Left, scale), Scaled(r.Top, scale), Scaled(r.Right, scale), Scaled(r.Bottom, scale)};
    }
    bool operator==(const BoardView&) const = default;
};
