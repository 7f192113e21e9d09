#include "ScreenLayout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kSideBarWidth = ScreenLayout::kDesignWidth - ScreenLayout::kBoardRightmostX;
// The space kept free around the tiles, as a share of the region's smaller side.
constexpr double kMarginShare = 0.025;

// The view that shows box at scale, centred on a region of width × height.
BoardView Centred(const PixelRect& box, double scale, int32_t width, int32_t height)
{
    const double centreX = (box.Left + box.Right) / 2.0;
    const double centreY = (box.Top + box.Bottom) / 2.0;
    return {scale, width / 2.0 - centreX * scale, height / 2.0 - centreY * scale};
}

int32_t Floor(double value)
{
    return static_cast<int32_t>(std::floor(value));
}

} // namespace

ScreenLayout ScreenLayout::Fit(QSize size, const PixelRect& tilesBox, const PixelRect& clearBox)
{
    ScreenLayout layout;
    if (size == QSize(kDesignWidth, kDesignHeight))
        return layout;
    layout.design = false;
    layout.size = size;
    const double u = std::min(double(size.width()) / kDesignWidth, double(size.height()) / kDesignHeight);
    layout.sideScale = u;
    layout.sideLeft = size.width() - static_cast<int32_t>(std::lround(kSideBarWidth * u));
    layout.sideTop = (size.height() - kDesignHeight * u) / 2.0;

    const int32_t width = layout.sideLeft;
    const int32_t height = size.height();
    const double margin = kMarginShare * std::min(width, height);
    const auto fitting = [&](const PixelRect& box) {
        return std::min((width - 2 * margin) / std::max(1, box.Width()),
                        (height - 2 * margin) / std::max(1, box.Height()));
    };
    const double scale = std::max(fitting(tilesBox), 0.1);
    layout.board = Centred(tilesBox, scale, width, height);
    const PixelRect span{kClearLeft, clearBox.Top, kClearRight, clearBox.Bottom};
    layout.clear = Centred(span, std::min(scale, std::max(fitting(span), 0.1)), width, height);
    return layout;
}

QPoint ScreenLayout::DesignAt(QPointF window) const
{
    if (design)
        return {Floor(window.x()), Floor(window.y())};
    if (window.x() < sideLeft) {
        const int32_t x = Floor((window.x() - board.left) / board.scale) + kBoardOrigin;
        const int32_t y = Floor((window.y() - board.top) / board.scale) + kBoardOrigin;
        return {std::min(x, kBoardRightmostX), y};
    }
    const int32_t x = Floor(kDesignWidth - (size.width() - window.x()) / sideScale);
    return {std::max(x, kBoardRightmostX + 1), Floor((window.y() - sideTop) / sideScale)};
}

QPoint ScreenLayout::WindowAt(QPoint design) const
{
    if (this->design)
        return design;
    if (design.x() <= kBoardRightmostX)
        return {board.X(design.x() - kBoardOrigin), board.Y(design.y() - kBoardOrigin)};
    return SideBarAt(design.x(), design.y());
}

QPoint ScreenLayout::SideBarAt(int32_t x, int32_t y) const
{
    if (design)
        return {x, y};
    return {size.width() - static_cast<int32_t>(std::lround((kDesignWidth - x) * sideScale)),
            static_cast<int32_t>(std::lround(sideTop + y * sideScale))};
}
