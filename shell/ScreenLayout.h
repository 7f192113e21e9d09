#pragma once

#include "BoardView.h"
#include "PixelRect.h"

#include <QPoint>
#include <QPointF>
#include <QSize>

#include <cstdint>

// How the game's picture is laid out in a window of any size, in device
// pixels. At the design's size it is the design's picture itself. Larger, the
// side bar keeps the right edge at the largest scale at which the design's
// picture fits, and the board takes the rest, its tiles' box fitted to it.
// Input meets the game in design coordinates: the board region maps through
// the board's transform, the side bar through its own scale.
class ScreenLayout {
public:
    static constexpr int32_t kDesignWidth = 792;
    static constexpr int32_t kDesignHeight = 566;
    static constexpr int32_t kBoardOrigin = 4;
    static constexpr int32_t kBoardRightmostX = 659;
    // The clear animation's figure spans these board columns.
    static constexpr int32_t kClearLeft = 18;
    static constexpr int32_t kClearRight = 637;

    // The design's own picture.
    ScreenLayout() = default;
    // The layout for a window of size whose tiles cover tilesBox (board
    // pixels); clearBox is the clear animation's figure, rise included.
    static ScreenLayout Fit(QSize size, const PixelRect& tilesBox, const PixelRect& clearBox);

    bool IsDesign() const { return design; }
    QSize Size() const { return size; }
    // The side bar's scale and the window's left edge of the side bar.
    double SideScale() const { return sideScale; }
    int32_t SideLeft() const { return sideLeft; }
    // The board region is the window left of the side bar, full height.
    PixelRect BoardRegion() const { return {0, 0, sideLeft, size.height()}; }
    const BoardView& Board() const { return board; }
    const BoardView& Clear() const { return clear; }

    // The design point shown at a window position; the board region never
    // gives a point right of the board, the side bar never one on it.
    QPoint DesignAt(QPointF window) const;
    // The window position of a design point.
    QPoint WindowAt(QPoint design) const;
    // A design point of the side bar, and a region of the side bar's sheet,
    // where the side bar draws them.
    QPoint SideBarAt(int32_t x, int32_t y) const;

    bool operator==(const ScreenLayout&) const = default;

private:
    bool design = true;
    QSize size{kDesignWidth, kDesignHeight};
    double sideScale = 1.0;
    int32_t sideLeft = kBoardRightmostX;
    double sideTop = 0.0;
    BoardView board{1.0, 0.0, 0.0};
    BoardView clear{1.0, 0.0, 0.0};
};
