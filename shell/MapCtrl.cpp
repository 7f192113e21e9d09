#include "MapCtrl.h"

#include "BoardView.h"
#include "DX7Draw.h"
#include "ScreenLayout.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr int32_t kBarLeft = 670;
constexpr int32_t kHitRight = 780;
constexpr int32_t kButtonWidth = 110;
constexpr int32_t kButtonHeight = 32;
constexpr int32_t kFaceTop = 45;

constexpr PixelRect kCursorGlyph{0, 0, 20, 22};
constexpr int32_t kCursorHotX = 7;
constexpr int32_t kCursorHotY = 1;

constexpr int32_t kDigitLeft = 21;
constexpr int32_t kDigitWidth = 12;
constexpr int32_t kGlyphHeight = 22;
constexpr PixelRect kCounterCaption{142, 0, 186, 22};
constexpr PixelRect kCounterUnit{186, 0, 208, 22};
constexpr int32_t kCounterRow = 60;
constexpr int32_t kFirstDigitX = 700;
constexpr int32_t kDigitPitch = 15;

// Screen top of button i (1 options, 2 hint, 3 playback).
constexpr int32_t ButtonTop(int32_t button)
{
    constexpr std::array<int32_t, 4> tops{0, 500, 350, 400};
    return tops[button];
}

constexpr PixelRect FaceRegion(int32_t mode)
{
    const int32_t top = kFaceTop + kButtonHeight * mode;
    return {0, top, kButtonWidth, top + kButtonHeight};
}

constexpr PixelRect LabelRegion(int32_t button)
{
    const int32_t top = kFaceTop + kButtonHeight * (button - 1);
    return {kButtonWidth, top, 2 * kButtonWidth, top + kButtonHeight};
}

} // namespace

void MapCtrl::SetDX7(std::shared_ptr<DX7Draw> dx7d)
{
    layer = std::move(dx7d);
}

void MapCtrl::SetDX7Sprite(int32_t idx, int32_t width, int32_t height)
{
    sheet = idx;
    sheetWidth = width;
    sheetHeight = height;
}

int32_t MapCtrl::JudgePointer(int32_t px, int32_t py) const
{
    if (px < kBarLeft || px > kHitRight)
        return 0;
    for (int32_t button : {BUTTON_HINT, BUTTON_PLAYBACK, BUTTON_OPTION}) {
        const int32_t top = ButtonTop(button);
        if (py >= top && py <= top + kButtonHeight)
            return button;
    }
    return 0;
}

void MapCtrl::BlitCursor(int32_t destX, int32_t destY)
{
    if (layout == nullptr || layout->IsDesign()) {
        Copy(kCursorGlyph, destX - kCursorHotX, destY - kCursorHotY);
        return;
    }
    const QPoint hotSpot = layout->WindowAt({destX, destY});
    const double u = layout->SideScale();
    CopyTo(kCursorGlyph, hotSpot.x() - BoardView::Scaled(kCursorHotX, u),
           hotSpot.y() - BoardView::Scaled(kCursorHotY, u));
}

void MapCtrl::BlitButton(int32_t targetIndex, int32_t mode)
{
    for (int32_t button : {BUTTON_OPTION, BUTTON_HINT, BUTTON_PLAYBACK}) {
        const int32_t face = button == targetIndex ? mode : MODE_NORMAL;
        Copy(FaceRegion(face), kBarLeft, ButtonTop(button));
        Copy(LabelRegion(button), kBarLeft, ButtonTop(button));
    }
}

void MapCtrl::BlitCounter(int32_t counts)
{
    Copy(kCounterCaption, kBarLeft, 30);
    Copy(kCounterUnit, 750, kCounterRow);
    if (counts >= 100)
        BlitDigit(counts / 100, kFirstDigitX, kCounterRow);
    if (counts >= 10)
        BlitDigit(counts / 10 % 10, kFirstDigitX + kDigitPitch, kCounterRow);
    BlitDigit(counts % 10, kFirstDigitX + 2 * kDigitPitch, kCounterRow);
}

void MapCtrl::BlitDigit(int32_t digit, int32_t x, int32_t y)
{
    const int32_t left = kDigitLeft + kDigitWidth * digit;
    Copy({left, 0, left + kDigitWidth, kGlyphHeight}, x, y);
}

void MapCtrl::Copy(const PixelRect& region, int32_t x, int32_t y)
{
    if (layout == nullptr || layout->IsDesign()) {
        layer->DD7BltFast(x, y, sheet, region);
        return;
    }
    const QPoint at = layout->SideBarAt(x, y);
    CopyTo(region, at.x(), at.y());
}

// Sheet regions are scaled by their edges, as the sheet was painted; the
// copy is clipped to the window, since the cursor may reach past its edge.
void MapCtrl::CopyTo(const PixelRect& region, int32_t windowX, int32_t windowY)
{
    PixelRect source = BoardView::ScaledRect(region, layout->SideScale());
    const int32_t cutLeft = std::max(0, -windowX);
    const int32_t cutTop = std::max(0, -windowY);
    source.Left += cutLeft;
    source.Top += cutTop;
    source.Right -= std::max(0, windowX + source.Width() + cutLeft - layout->Size().width());
    source.Bottom -= std::max(0, windowY + source.Height() + cutTop - layout->Size().height());
    layer->DD7BltFast(windowX + cutLeft, windowY + cutTop, sheet, source);
}
