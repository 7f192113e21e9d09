#pragma once

#include <cstdint>

// The display's pixel format as three channel masks, and the conversion of a
// colour 0x00BBGGRR (red in the low byte) into a pixel value of that format.
struct PixelFormat {
    uint32_t redMask = 0xFF0000;
    uint32_t greenMask = 0x00FF00;
    uint32_t blueMask = 0x0000FF;

    // Each channel scaled to its mask's width (rounded to nearest) and shifted
    // into place. A zero mask (a palette display) contributes nothing.
    uint32_t ToPixelColor(uint32_t colour) const;
};
