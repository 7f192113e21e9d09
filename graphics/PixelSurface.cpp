#include "PixelSurface.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "NumberedError.h"

namespace {

constexpr uint32_t RgbBits = 0x00FFFFFF;

// A run of destination coordinates [first, last) and the source coordinate
// that belongs to first; empty when first >= last.
struct Span {
    int64_t first = 0;
    int64_t last = 0;
    int64_t sourceFirst = 0;
};

// Clips an unscaled run of length pixels starting at dest (target) and source
// to [0, destLimit) and [0, sourceLimit).
Span ClipSpan(int64_t dest, int64_t source, int64_t length, int64_t destLimit, int64_t sourceLimit)
{
    const int64_t shift = std::max({int64_t{0}, -dest, -source});
    const int64_t end = std::min({length, destLimit - dest, sourceLimit - source});
    return {dest + shift, dest + std::max(shift, end), source + shift};
}

bool Inside(const PixelRect& r, int64_t width, int64_t height)
{
    return r.Left >= 0 && r.Top >= 0 && r.Right <= width && r.Bottom <= height;
}

bool Inside(int64_t x, int64_t y, int64_t w, int64_t h, int64_t width, int64_t height)
{
    return x >= 0 && y >= 0 && x + w <= width && y + h <= height;
}

// A colour key reduced to what the row loops test: each channel's low end and
// its span, so that a channel lies within its range when (channel − low) ≤
// span, unsigned.
struct KeyTest {
    bool exact = false;  // low and high are the same colour
    uint32_t low = 0;
    uint32_t redLow = 0, greenLow = 0, blueLow = 0;
    uint32_t redSpan = 0, greenSpan = 0, blueSpan = 0;

    bool Transparent(uint32_t p) const
    {
        return ((((p >> 16) & 0xFF) - redLow) <= redSpan) &
               ((((p >> 8) & 0xFF) - greenLow) <= greenSpan) & (((p & 0xFF) - blueLow) <= blueSpan);
    }
};

// The test for key, or none when there is no key or some channel's low is
// above its high, so that no pixel can match.
std::optional<KeyTest> MakeKeyTest(const ColorKey* key)
{
    if (key == nullptr) {
        return std::nullopt;
    }
    KeyTest test;
    test.low = key->low & RgbBits;
    const uint32_t high = key->high & RgbBits;
    for (int shift : {0, 8, 16}) {
        if (((test.low >> shift) & 0xFF) > ((high >> shift) & 0xFF)) {
            return std::nullopt;
        }
    }
    test.exact = test.low == high;
    test.redLow = (test.low >> 16) & 0xFF;
    test.greenLow = (test.low >> 8) & 0xFF;
    test.blueLow = test.low & 0xFF;
    test.redSpan = ((high >> 16) & 0xFF) - test.redLow;
    test.greenSpan = ((high >> 8) & 0xFF) - test.greenLow;
    test.blueSpan = (high & 0xFF) - test.blueLow;
    return test;
}

void CopyRowExactKey(const uint32_t* __restrict s, uint32_t* __restrict d, int64_t n, uint32_t key)
{
    for (int64_t i = 0; i < n; ++i) {
        const uint32_t p = s[i];
        d[i] = (p & RgbBits) == key ? d[i] : p;
    }
}

void CopyRowRangeKey(const uint32_t* __restrict s, uint32_t* __restrict d, int64_t n,
                     const KeyTest key)
{
    for (int64_t i = 0; i < n; ++i) {
        const uint32_t p = s[i];
        d[i] = key.Transparent(p) ? d[i] : p;
    }
}

void CopyRow(const uint32_t* s, uint32_t* d, int64_t n, const std::optional<KeyTest>& key)
{
    if (!key) {
        std::memcpy(d, s, static_cast<size_t>(n) * sizeof(uint32_t));
    } else if (key->exact) {
        CopyRowExactKey(s, d, n, key->low);
    } else {
        CopyRowRangeKey(s, d, n, *key);
    }
}

void StretchRow(const uint32_t* sourceRow, const int64_t* columns, uint32_t* d, int64_t n,
                const std::optional<KeyTest>& key)
{
    if (!key) {
        for (int64_t i = 0; i < n; ++i) {
            d[i] = sourceRow[columns[i]];
        }
        return;
    }
    for (int64_t i = 0; i < n; ++i) {
        const uint32_t p = sourceRow[columns[i]];
        d[i] = key->Transparent(p) ? d[i] : p;
    }
}

// Nearest source pixel for the destination pixels [first, last) of count,
// sampling at pixel centres so that equal sizes map one to one. The products
// are taken in 128 bits: a clipped copy may name rectangles of any 32-bit size.
std::vector<int64_t> NearestMap(int64_t sourceStart, int64_t sourceLength, int64_t count,
                                int64_t first, int64_t last)
{
    std::vector<int64_t> map;
    map.reserve(static_cast<size_t>(last - first));
    for (int64_t i = first; i < last; ++i) {
        const __int128 offset = (__int128{2 * i + 1} * sourceLength) / (__int128{2} * count);
        map.push_back(sourceStart + static_cast<int64_t>(offset));
    }
    return map;
}

// Destination pixels [0, map.size()) whose mapped source lies in [0, limit),
// given that the map is non-decreasing.
std::pair<size_t, size_t> ValidRange(const std::vector<int64_t>& map, int64_t limit)
{
    size_t first = 0;
    size_t last = map.size();
    while (first < last && map[first] < 0) {
        ++first;
    }
    while (last > first && map[last - 1] >= limit) {
        --last;
    }
    return {first, last};
}

}  // namespace

PixelSurface::PixelSurface(int32_t width, int32_t height)
    : width_(width), height_(height)
{
    if (width < 1 || height < 1) {
        throw NumberedError(NumberedError::InvalidArgument,
                            "surface size " + std::to_string(width) + " x " +
                                std::to_string(height) + " is empty");
    }
    if (width > MaxSide || height > MaxSide) {
        throw NumberedError(NumberedError::Overflow,
                            "surface size " + std::to_string(width) + " x " +
                                std::to_string(height) + " exceeds " +
                                std::to_string(MaxSide) + " x " + std::to_string(MaxSide));
    }
    pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
}

PixelView PixelSurface::View() const
{
    return {pixels_.data(), width_, height_, Stride()};
}

uint32_t PixelSurface::Pixel(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        throw NumberedError(NumberedError::SubscriptOutOfRange,
                            "pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                                ") is outside the surface");
    }
    return pixels_[static_cast<size_t>(y) * static_cast<size_t>(Stride()) + static_cast<size_t>(x)];
}

void PixelSurface::Copy(const PixelView& src, const PixelRect& srcR, int32_t destX, int32_t destY,
                        const ColorKey* key)
{
    const int64_t w = srcR.Width();
    const int64_t h = srcR.Height();
    if (w <= 0 || h <= 0 || !Inside(srcR, src.width, src.height) ||
        !Inside(destX, destY, w, h, width_, height_)) {
        return;
    }
    // A copy within one surface reads from a snapshot, so overlapping
    // rectangles behave as if the source were copied out first.
    std::vector<uint32_t> snapshot;
    PixelView source = src;
    int64_t sx = srcR.Left;
    int64_t sy = srcR.Top;
    if (src.pixels == pixels_.data()) {
        snapshot.resize(static_cast<size_t>(w * h));
        for (int64_t row = 0; row < h; ++row) {
            std::memcpy(snapshot.data() + row * w, src.pixels + (sy + row) * src.stride + sx,
                        static_cast<size_t>(w) * sizeof(uint32_t));
        }
        source = {snapshot.data(), static_cast<int32_t>(w), static_cast<int32_t>(h), w};
        sx = 0;
        sy = 0;
    }
    const std::optional<KeyTest> test = MakeKeyTest(key);
    for (int64_t row = 0; row < h; ++row) {
        CopyRow(source.pixels + (sy + row) * source.stride + sx,
                pixels_.data() + (destY + row) * Stride() + destX, w, test);
    }
}

void PixelSurface::StretchCopy(const PixelView& src, const PixelRect& srcR, const PixelRect& destR,
                               const ColorKey* key)
{
    const int64_t sw = srcR.Width();
    const int64_t sh = srcR.Height();
    const int64_t dw = destR.Width();
    const int64_t dh = destR.Height();
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0 || !Inside(srcR, src.width, src.height) ||
        !Inside(destR, width_, height_)) {
        return;
    }
    std::vector<uint32_t> snapshot;
    PixelView source = src;
    if (src.pixels == pixels_.data()) {
        snapshot = pixels_;
        source.pixels = snapshot.data();
    }
    const std::vector<int64_t> columns = NearestMap(srcR.Left, sw, dw, 0, dw);
    const std::vector<int64_t> rows = NearestMap(srcR.Top, sh, dh, 0, dh);
    const std::optional<KeyTest> test = MakeKeyTest(key);
    for (int64_t row = 0; row < dh; ++row) {
        StretchRow(source.pixels + rows[static_cast<size_t>(row)] * source.stride, columns.data(),
                   pixels_.data() + (destR.Top + row) * Stride() + destR.Left, dw, test);
    }
}

void PixelSurface::CopyClipped(const PixelView& src, int32_t srcX, int32_t srcY,
                               const PixelRect& destR)
{
    const Span columns = ClipSpan(destR.Left, srcX, destR.Width(), width_, src.width);
    const Span rows = ClipSpan(destR.Top, srcY, destR.Height(), height_, src.height);
    const int64_t w = columns.last - columns.first;
    for (int64_t row = 0; w > 0 && row < rows.last - rows.first; ++row) {
        std::memcpy(pixels_.data() + (rows.first + row) * Stride() + columns.first,
                    src.pixels + (rows.sourceFirst + row) * src.stride + columns.sourceFirst,
                    static_cast<size_t>(w) * sizeof(uint32_t));
    }
}

void PixelSurface::StretchCopyClipped(const PixelView& src, const PixelRect& srcR,
                                      const PixelRect& destR)
{
    const int64_t sw = srcR.Width();
    const int64_t sh = srcR.Height();
    const int64_t dw = destR.Width();
    const int64_t dh = destR.Height();
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) {
        return;
    }
    // Only the destination pixels on this surface are mapped.
    const int64_t left = std::max<int64_t>(destR.Left, 0);
    const int64_t top = std::max<int64_t>(destR.Top, 0);
    const int64_t right = std::min<int64_t>(destR.Right, width_);
    const int64_t bottom = std::min<int64_t>(destR.Bottom, height_);
    if (left >= right || top >= bottom) {
        return;
    }
    const std::vector<int64_t> columns =
        NearestMap(srcR.Left, sw, dw, left - destR.Left, right - destR.Left);
    const std::vector<int64_t> rows = NearestMap(srcR.Top, sh, dh, top - destR.Top, bottom - destR.Top);
    const auto [firstColumn, lastColumn] = ValidRange(columns, src.width);
    const auto [firstRow, lastRow] = ValidRange(rows, src.height);
    for (size_t row = firstRow; row < lastRow; ++row) {
        StretchRow(src.pixels + rows[row] * src.stride, columns.data() + firstColumn,
                   pixels_.data() + (top + int64_t(row)) * Stride() + left + int64_t(firstColumn),
                   int64_t(lastColumn - firstColumn), std::nullopt);
    }
}

void PixelSurface::Fill(const PixelRect& r, uint32_t value)
{
    if (r.Width() <= 0 || r.Height() <= 0) {
        return;
    }
    const int64_t left = std::max<int64_t>(r.Left, 0);
    const int64_t top = std::max<int64_t>(r.Top, 0);
    const int64_t right = std::min<int64_t>(r.Right, width_);
    const int64_t bottom = std::min<int64_t>(r.Bottom, height_);
    for (int64_t row = top; left < right && row < bottom; ++row) {
        uint32_t* line = pixels_.data() + row * Stride();
        std::fill(line + left, line + right, value);
    }
}
