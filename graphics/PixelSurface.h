#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "PixelRect.h"

// Read-only view of 32-bit pixels 0x00RRGGBB (the top byte is unused and
// ignored by every comparison). stride counts pixels, not bytes.
struct PixelView {
    const uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    std::ptrdiff_t stride = 0;
};

// A source colour key as pixel values: a source pixel is transparent when each
// of its red, green and blue channels lies within low..high of that channel.
struct ColorKey {
    uint32_t low = 0;
    uint32_t high = 0;
};

// A 32-bit pixel buffer with the copies, keyed copies, scaled copies and fills
// of the sprite layer. Plain C++ so that the pixel work can be tested and
// measured without a display.
class PixelSurface {
public:
    static constexpr int32_t MaxSide = 8192;

    // Refuses sides below 1 (NumberedError 5) and above MaxSide (NumberedError 6).
    PixelSurface(int32_t width, int32_t height);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    uint32_t* Pixels() { return pixels_.data(); }
    const uint32_t* Pixels() const { return pixels_.data(); }
    std::ptrdiff_t Stride() const { return width_; }
    PixelView View() const;
    uint32_t Pixel(int32_t x, int32_t y) const;

    // Unscaled copy of srcR to (destX, destY). Draws nothing when srcR is empty
    // or not inside the source, or when the target is not inside this surface.
    void Copy(const PixelView& src, const PixelRect& srcR, int32_t destX, int32_t destY,
              const ColorKey* key);
    // Scaled copy (nearest pixel) of srcR onto destR, all or nothing as Copy.
    void StretchCopy(const PixelView& src, const PixelRect& srcR, const PixelRect& destR,
                     const ColorKey* key);
    // Unscaled copy of destR's size from (srcX, srcY), clipped to both surfaces:
    // only pixels with a source pixel and a target pixel are written.
    void CopyClipped(const PixelView& src, int32_t srcX, int32_t srcY, const PixelRect& destR);
    // Scaled copy of srcR onto destR, clipped to both surfaces as CopyClipped.
    void StretchCopyClipped(const PixelView& src, const PixelRect& srcR, const PixelRect& destR);
    // Sets every pixel of r that lies on the surface to value.
    void Fill(const PixelRect& r, uint32_t value);

private:
    int32_t width_;
    int32_t height_;
    std::vector<uint32_t> pixels_;
};
