#pragma once

#include <cstdint>
#include <memory>

class DX7Draw;
class ScreenLayout;
struct PixelRect;

// The button bar: the three on-screen buttons, the tile counter and the game's
// own cursor, all drawn from the button-bar sheet onto the layer's back
// surface. It holds no game state; the redraw tells it what to draw.
class MapCtrl {
public:
    static constexpr int32_t BUTTON_OPTION = 1;
    static constexpr int32_t BUTTON_HINT = 2;
    static constexpr int32_t BUTTON_PLAYBACK = 3;
    static constexpr int32_t MODE_NORMAL = 0;
    static constexpr int32_t MODE_FOCUS = 1;
    static constexpr int32_t MODE_CLICK = 2;

    void SetDX7(std::shared_ptr<DX7Draw> dx7d);
    void SetDX7Sprite(int32_t idx, int32_t width, int32_t height);
    // Where the side bar and the cursor are drawn, their sheet painted at the
    // side bar's scale; null draws the design's picture. layout must outlive
    // its use here.
    void SetLayout(const ScreenLayout* screenLayout) { layout = screenLayout; }

    // The button whose hit area holds (px, py), or 0.
    int32_t JudgePointer(int32_t px, int32_t py) const;
    // Draws the cursor glyph with its hot spot on (destX, destY).
    void BlitCursor(int32_t destX, int32_t destY);
    // Draws all three buttons: targetIndex with face mode, the others normal.
    void BlitButton(int32_t targetIndex, int32_t mode);
    // Draws the counter caption, unit and the digits of counts (0 to 999).
    void BlitCounter(int32_t counts);

private:
    void BlitDigit(int32_t digit, int32_t x, int32_t y);
    // Copies a region of the 1× sheet to the side bar's design point (x, y).
    void Copy(const PixelRect& region, int32_t x, int32_t y);
    void CopyTo(const PixelRect& region, int32_t windowX, int32_t windowY);

    std::shared_ptr<DX7Draw> layer;
    const ScreenLayout* layout = nullptr;
    int32_t sheet = 0;
    int32_t sheetWidth = 0;
    int32_t sheetHeight = 0;
};
