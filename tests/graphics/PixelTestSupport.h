#pragma once

#include <cstdint>
#include <functional>

#include <QImage>
#include <gtest/gtest.h>

#include "PixelSurface.h"

using PixelRule = std::function<uint32_t(int32_t x, int32_t y)>;

// A distinct 0x00RRGGBB value for every pixel of a surface up to 256 × 256.
inline uint32_t Pattern(int32_t x, int32_t y)
{
    return 0x100000u | (uint32_t(y) << 8) | uint32_t(x);
}

inline PixelSurface Painted(int32_t w, int32_t h, const PixelRule& rule)
{
    PixelSurface surface(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            surface.Pixels()[y * surface.Stride() + x] = rule(x, y);
        }
    }
    return surface;
}

inline QImage Picture(int w, int h, const PixelRule& rule)
{
    QImage picture(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            picture.setPixel(x, y, 0xFF000000u | rule(x, y));
        }
    }
    return picture;
}

// Compares red, green and blue of every pixel; the top byte is not part of a pixel's colour.
inline void ExpectEverywhere(const PixelSurface& surface, const PixelRule& expected)
{
    for (int32_t y = 0; y < surface.Height(); ++y) {
        for (int32_t x = 0; x < surface.Width(); ++x) {
            ASSERT_EQ(surface.Pixel(x, y) & 0xFFFFFF, expected(x, y))
                << "at (" << x << ", " << y << ")";
        }
    }
}
