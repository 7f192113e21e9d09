#include "PictureFit.h"

#include "PixelSurface.h"

#include <algorithm>

namespace {

// Half the room left over, never negative: a too small view keeps the
// picture's top-left corner in sight.
int32_t CentredStart(int32_t view, int32_t shown)
{
    return std::max(0, (view - shown) / 2);
}

} // namespace

PictureFit PictureFit::Of(int32_t pictureWidth, int32_t pictureHeight, int32_t viewWidth, int32_t viewHeight)
{
    PictureFit fit;
    fit.pictureWidth = pictureWidth;
    fit.pictureHeight = pictureHeight;
    if (pictureWidth > 0 && pictureHeight > 0)
        fit.scale = std::max(1, std::min(viewWidth / pictureWidth, viewHeight / pictureHeight));
    fit.left = CentredStart(viewWidth, fit.ScaledWidth());
    fit.top = CentredStart(viewHeight, fit.ScaledHeight());
    return fit;
}

std::optional<PictureFit::Point> PictureFit::ToPicture(int32_t viewX, int32_t viewY) const
{
    const int32_t dx = viewX - left;
    const int32_t dy = viewY - top;
    if (dx < 0 || dy < 0 || dx >= ScaledWidth() || dy >= ScaledHeight())
        return std::nullopt;
    return Point{dx / scale, dy / scale};
}

PictureFit::Point PictureFit::ToView(int32_t pictureX, int32_t pictureY) const
{
    return {left + pictureX * scale, top + pictureY * scale};
}

void ScaleToBlocks(const PixelView& src, const PixelRect& r, int32_t scale, uint32_t* dest, std::ptrdiff_t destStride)
{
    const std::ptrdiff_t width = r.Width();
    const std::ptrdiff_t scaledWidth = width * scale;
    for (int32_t y = r.Top; y < r.Bottom; ++y) {
        const uint32_t* from = src.pixels + y * src.stride + r.Left;
        uint32_t* firstRow = dest + (y - r.Top) * scale * destStride;
        for (std::ptrdiff_t x = 0; x < width; ++x)
            std::fill_n(firstRow + x * scale, scale, from[x]);
        // The block's other rows repeat its first.
        for (int32_t row = 1; row < scale; ++row)
            std::copy_n(firstRow, scaledWidth, firstRow + row * destStride);
    }
}

namespace {

// The first and one past the last column where two rows differ; an empty
// span when they are equal.
std::pair<int32_t, int32_t> ChangedSpan(const uint32_t* now, const uint32_t* before, int32_t width)
{
    if (std::equal(now, now + width, before))
        return {0, 0};
    int32_t first = 0;
    while (now[first] == before[first])
        ++first;
    int32_t end = width;
    while (now[end - 1] == before[end - 1])
        --end;
    return {first, end};
}

} // namespace

std::vector<PixelRect> ScaledPicture::Update(const PixelView& frame, int32_t scale)
{
    if (frame.width != width_ || frame.height != height_ || scale != scale_) {
        width_ = frame.width;
        height_ = frame.height;
        scale_ = scale;
        last_.assign(std::size_t(width_) * std::size_t(height_), 0);
        scaled_.assign(std::size_t(Width()) * std::size_t(Height()), 0);
        const PixelRect whole{0, 0, width_, height_};
        Rescale(frame, whole);
        return {whole};
    }
    // Rows that change together make one rectangle, as wide as their spans.
    std::vector<PixelRect> changed;
    std::optional<PixelRect> band;
    for (int32_t y = 0; y < height_; ++y) {
        const auto [first, end] = ChangedSpan(frame.pixels + y * frame.stride, last_.data() + y * width_, width_);
        if (first < end && band) {
            band->Left = std::min(band->Left, first);
            band->Right = std::max(band->Right, end);
            band->Bottom = y + 1;
        } else if (first < end) {
            band = PixelRect{first, y, end, y + 1};
        } else if (band) {
            changed.push_back(*band);
            band.reset();
        }
    }
    if (band)
        changed.push_back(*band);
    for (const PixelRect& r : changed)
        Rescale(frame, r);
    return changed;
}

void ScaledPicture::Rescale(const PixelView& frame, const PixelRect& r)
{
    for (int32_t y = r.Top; y < r.Bottom; ++y)
        std::copy_n(frame.pixels + y * frame.stride + r.Left, r.Width(), last_.data() + y * width_ + r.Left);
    const std::ptrdiff_t stride = Width();
    ScaleToBlocks(frame, r, scale_, scaled_.data() + std::ptrdiff_t(r.Top) * scale_ * stride + r.Left * scale_,
                  stride);
}
