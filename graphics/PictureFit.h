#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "PixelRect.h"

// Where a pixel picture of fixed size sits in a view of any size: at the
// largest whole-number scale that fits (at least 1), centred, so that every
// picture pixel is an exact scale × scale block. A view smaller than the
// picture shows its top-left part at 1×.
struct PictureFit {
    struct Point {
        int32_t x = 0;
        int32_t y = 0;
        bool operator==(const Point&) const = default;
    };

    int32_t pictureWidth = 0;
    int32_t pictureHeight = 0;
    int32_t scale = 1;
    int32_t left = 0;
    int32_t top = 0;

    static PictureFit Of(int32_t pictureWidth, int32_t pictureHeight, int32_t viewWidth, int32_t viewHeight);

    int32_t ScaledWidth() const { return pictureWidth * scale; }
    int32_t ScaledHeight() const { return pictureHeight * scale; }
    // The picture pixel shown at a whole view pixel; nothing in the margins.
    std::optional<Point> ToPicture(int32_t viewX, int32_t viewY) const;
    // The view pixel at the top-left of a picture pixel's block.
    Point ToView(int32_t pictureX, int32_t pictureY) const;
};

struct PixelView;

// Writes each pixel of src within r as a scale × scale block into dest (stride
// in pixels): the block of pixel (x, y) starts at dest's ((x − r.Left) × scale,
// (y − r.Top) × scale). r must lie inside src.
void ScaleToBlocks(const PixelView& src, const PixelRect& r, int32_t scale, uint32_t* dest, std::ptrdiff_t destStride);

// A picture kept scaled by a whole number. Each update compares the new frame
// with the one scaled last and scales again only the rectangles that differ,
// so that a small change on a large screen costs little.
class ScaledPicture {
public:
    // Brings the scaled picture up to frame at scale and returns the changed
    // rectangles in frame pixels; a new size or scale changes the whole frame.
    std::vector<PixelRect> Update(const PixelView& frame, int32_t scale);

    int32_t Width() const { return width_ * scale_; }
    int32_t Height() const { return height_ * scale_; }
    const uint32_t* Pixels() const { return scaled_.data(); }

private:
    void Rescale(const PixelView& frame, const PixelRect& r);

    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t scale_ = 0;
    std::vector<uint32_t> last_;
    std::vector<uint32_t> scaled_;
};
