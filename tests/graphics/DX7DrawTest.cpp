#include <gtest/gtest.h>

#include <memory>

#include <QWidget>

#include "DX7Draw.h"
#include "NumberedError.h"
#include "PixelTestSupport.h"

namespace {

// Colours as callers give them (0x00BBGGRR) and as surface pixels (0x00RRGGBB).
constexpr uint32_t RedColour = 0x0000FF, RedPixel = 0xFF0000;
constexpr uint32_t BlueColour = 0xFF0000, BluePixel = 0x0000FF;
constexpr uint32_t White = 0xFFFFFF, Magenta = 0xFF00FF;

std::unique_ptr<DX7Draw> Layer(int32_t w, int32_t h)
{
    auto layer = std::make_unique<DX7Draw>();
    layer->Initialize(nullptr, nullptr, w, h);
    return layer;
}

int32_t CreateFilled(DX7Draw& layer, int32_t w, int32_t h, uint32_t colour)
{
    const int32_t number = layer.GetFreeNumber();
    layer.CreateSprite(number, w, h);
    layer.DD7Fill(number, {0, 0, w, h}, colour);
    return number;
}

int32_t Loaded(DX7Draw& layer, const QImage& picture, bool keyed = false, uint32_t key = 0)
{
    const int32_t number = layer.GetFreeNumber();
    layer.LoadPicture(number, picture, keyed, key, key);
    return number;
}

PixelRule Solid(uint32_t pixel)
{
    return [pixel](int32_t, int32_t) { return pixel; };
}

}  // namespace

TEST(DX7Draw, HandsOutSpriteNumbersOneToNinetyNineOnceInitialised)
{
    DX7Draw layer;
    EXPECT_EQ(layer.GetFreeNumber(), 0);
    layer.Initialize(nullptr, nullptr, 0, 566);
    EXPECT_EQ(layer.GetFreeNumber(), 0);
    layer.Initialize(nullptr, nullptr, 792, 566);
    EXPECT_EQ(layer.BackSurface()->Width(), 792);

    layer.CreateSprite(0, 4, 4);
    layer.CreateSprite(100, 4, 4);
    EXPECT_EQ(layer.GetFreeNumber(), 1);
    layer.CreateSprite(1, 4, 4);
    layer.CreateSprite(1, 8, 2);  // replaces the surface, keeps the number
    EXPECT_EQ(layer.SpriteSurface(1)->Width(), 8);
    for (int32_t expected = 2; expected <= 99; ++expected) {
        ASSERT_EQ(layer.GetFreeNumber(), expected);
        layer.CreateSprite(expected, 1, 1);
    }
    EXPECT_EQ(layer.GetFreeNumber(), 0);
}

TEST(DX7Draw, RefusesEmptyAndHugeSurfaces)
{
    auto layer = Layer(8, 8);
    try {
        layer->CreateSprite(1, 8193, 8193);
        FAIL() << "a sprite beyond 8192 x 8192 was created";
    } catch (const NumberedError& error) {
        EXPECT_EQ(error.number(), NumberedError::Overflow);
    }
    EXPECT_THROW(layer->CreateSprite(1, 70000, 70000), NumberedError);
    EXPECT_THROW(layer->CreateSprite(1, 0, 10), NumberedError);
    EXPECT_THROW(layer->LoadPicture(1, QImage()), NumberedError);
    EXPECT_EQ(layer->GetFreeNumber(), 1);
    EXPECT_THROW(layer->Initialize(nullptr, nullptr, 100000, 100000), NumberedError);
}

TEST(DX7Draw, NumbersNotInUseDrawNothing)
{
    auto layer = Layer(8, 8);
    const int32_t ground = CreateFilled(*layer, 8, 8, BlueColour);
    const int32_t red = CreateFilled(*layer, 8, 8, RedColour);
    layer->DD7BltFast(0, 0, ground, {0, 0, 8, 8});
    layer->DD7BltFast(0, 0, 42, {0, 0, 8, 8});
    layer->DD7Blt({0, 0, 8, 8}, 42, {0, 0, 4, 4});
    layer->DD7SpriteBltFast(ground, 0, 0, 42, {0, 0, 8, 8});
    layer->DD7SpriteBltFast(42, 0, 0, red, {0, 0, 8, 8});
    layer->DD7SpriteBlt(ground, {0, 0, 8, 8}, 0, {0, 0, 8, 8});
    layer->DD7Fill(100, {0, 0, 8, 8}, RedColour);
    layer->DD7LoadPicBltFast(42, {0, 0, 8, 8}, Picture(8, 8, Pattern), 0, 0);
    ExpectEverywhere(*layer->BackSurface(), Solid(BluePixel));
    ExpectEverywhere(*layer->SpriteSurface(ground), Solid(BluePixel));
}

TEST(DX7Draw, KeysAndFillsTakeCallerColours)
{
    auto layer = Layer(6, 4);
    // The key is given as the colour red; the picture's red pixels must match it.
    const QImage sheet =
        Picture(6, 4, [](int32_t x, int32_t) { return x < 3 ? RedPixel : BluePixel; });
    const int32_t keyed = Loaded(*layer, sheet, true, RedColour);
    const int32_t plain = Loaded(*layer, sheet);
    const int32_t backdrop = CreateFilled(*layer, 6, 4, 0xFF9933);
    ExpectEverywhere(*layer->SpriteSurface(backdrop), Solid(0x3399FF));

    layer->DD7BltFast(0, 0, backdrop, {0, 0, 6, 4});
    layer->DD7BltFast(0, 0, keyed, {0, 0, 6, 4});
    ExpectEverywhere(*layer->BackSurface(),
                     [](int32_t x, int32_t) { return x < 3 ? 0x3399FFu : BluePixel; });
    layer->DD7BltFast(0, 0, plain, {0, 0, 6, 4});
    ExpectEverywhere(*layer->BackSurface(),
                     [](int32_t x, int32_t) { return x < 3 ? RedPixel : BluePixel; });

    // A sheet laid over white: its transparent pixels turn white.
    const PixelRule checked = [](int32_t x, int32_t y) {
        return (x + y) % 2 ? Pattern(x, y) : Magenta;
    };
    const int32_t tiles = Loaded(*layer, Picture(5, 3, checked), true, Magenta);
    const int32_t onWhite = layer->GetFreeNumber();
    layer->CreateSprite(onWhite, 5, 3, true, White, White);
    layer->DD7Fill(onWhite, {0, 0, 5, 3}, White);
    layer->DD7SpriteBltFast(onWhite, 0, 0, tiles, {0, 0, 5, 3});
    ExpectEverywhere(*layer->SpriteSurface(onWhite),
                     [](int32_t x, int32_t y) { return (x + y) % 2 ? Pattern(x, y) : White; });
}

TEST(DX7Draw, SpriteCopiesOffTheSurfaceDrawNothingWhilePictureCopiesClip)
{
    auto layer = Layer(8, 8);
    const int32_t ground = CreateFilled(*layer, 8, 8, BlueColour);
    const int32_t red = CreateFilled(*layer, 4, 4, RedColour);
    layer->DD7BltFast(0, 0, ground, {0, 0, 8, 8});
    layer->DD7BltFast(6, 6, red, {0, 0, 4, 4});           // off the bottom-right
    layer->DD7BltFast(0, 0, red, {2, 0, 6, 4});           // past the source's edge
    layer->DD7BltFast(0, 0, red, {3, 3, 1, 4});           // reversed
    layer->DD7BltFast(2147483646, 0, red, {0, 0, 4, 4});  // the end would overflow
    layer->DD7Blt({6, 6, 10, 10}, red, {0, 0, 2, 2});
    layer->DD7SpriteBltFast(ground, -1, 0, red, {0, 0, 4, 4});
    ExpectEverywhere(*layer->BackSurface(), Solid(BluePixel));
    ExpectEverywhere(*layer->SpriteSurface(ground), Solid(BluePixel));

    // A 12 × 10 picture centred on the 8 × 8 sprite is cut evenly on both sides.
    layer->DD7LoadPicBltFast(ground, {-2, -1, 10, 9}, Picture(12, 10, Pattern), 0, 0);
    ExpectEverywhere(*layer->SpriteSurface(ground),
                     [](int32_t x, int32_t y) { return Pattern(x + 2, y + 1); });
    layer->DD7BltFast(4, 4, red, {0, 0, 4, 4});  // touching both far edges draws
    EXPECT_EQ(layer->BackSurface()->Pixel(7, 7) & 0xFFFFFF, RedPixel);
}

TEST(DX7Draw, ScaledCopiesStretchSpritesAndPictures)
{
    auto layer = Layer(8, 8);
    const int32_t small = Loaded(*layer, Picture(2, 2, Pattern));
    const int32_t fromSprite = CreateFilled(*layer, 4, 4, White);
    const int32_t fromPicture = CreateFilled(*layer, 4, 4, White);
    layer->DD7Blt({0, 0, 8, 8}, small, {0, 0, 2, 2});
    layer->DD7SpriteBlt(fromSprite, {0, 0, 4, 4}, small, {0, 0, 2, 2});
    layer->DD7LoadPicBlt(fromPicture, {0, 0, 4, 4}, Picture(2, 2, Pattern), {0, 0, 2, 2});
    const PixelRule doubled = [](int32_t x, int32_t y) { return Pattern(x / 2, y / 2); };
    ExpectEverywhere(*layer->BackSurface(), [](int32_t x, int32_t y) { return Pattern(x / 4, y / 4); });
    ExpectEverywhere(*layer->SpriteSurface(fromSprite), doubled);
    ExpectEverywhere(*layer->SpriteSurface(fromPicture), doubled);
}

TEST(DX7Draw, FlipShowsTheBackSurfaceAtTheLargestWholeScaleCentred)
{
    auto layer = Layer(4, 3);
    layer->DD7BltFast(0, 0, Loaded(*layer, Picture(4, 3, Pattern)), {0, 0, 4, 3});
    PictureBox same;
    same.resize(4, 3);
    layer->DD7Flip(&same);
    const QImage shown = same.grab().toImage();
    PictureBox larger;
    larger.resize(11, 9);  // 2× fits, 3× does not: one column left and one row above it
    larger.SetMarginColor(BlueColour);
    layer->DD7Flip(&larger);
    const QImage scaled = larger.grab().toImage();
    EXPECT_EQ(same.Presented(), nullptr);  // one window shows the layer at a time
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 11; ++x) {
            const bool onPicture = x >= 1 && x < 9 && y >= 1 && y < 7;
            ASSERT_EQ(scaled.pixel(x, y) & 0xFFFFFF, onPicture ? Pattern((x - 1) / 2, (y - 1) / 2) : BluePixel)
                << x << "," << y;
        }
    }
    EXPECT_EQ(shown, Picture(4, 3, Pattern).convertToFormat(shown.format()));
    EXPECT_EQ(larger.PictureAt({2.0, 2.4}), QPoint(0, 0));
    EXPECT_EQ(larger.PictureAt({8.0, 6.5}), QPoint(3, 2)) << "halves round to even";
    EXPECT_EQ(larger.PictureAt({9.0, 3.0}), std::nullopt);
    EXPECT_EQ(larger.PictureAt({0.0, 3.0}), std::nullopt);
    layer.reset();
    EXPECT_EQ(larger.Presented(), nullptr);  // never a view into a released surface
    EXPECT_EQ(larger.PictureAt({2.0, 2.0}), std::nullopt);
}

TEST(DX7Draw, ChangeScreenReloadsPicturesAndLeavesCreatedSpritesToTheCaller)
{
    QWidget frame;
    auto* picture = new PictureBox(&frame);
    picture->setGeometry(0, 0, 16, 12);
    DX7Draw layer;
    layer.Initialize(&frame, picture, 16, 12);
    const PixelRule edged = [](int32_t x, int32_t y) { return x == 0 ? Magenta : Pattern(x, y); };
    const int32_t loaded = Loaded(layer, Picture(3, 2, edged), true, Magenta);
    const int32_t created = CreateFilled(layer, 4, 4, BlueColour);

    layer.ChangeScreen(&frame, picture, 16, 12);
    EXPECT_TRUE(layer.FullScreenMode());
    EXPECT_TRUE(frame.isFullScreen());
    EXPECT_EQ(layer.SpriteSurface(created), nullptr);
    EXPECT_EQ(layer.GetFreeNumber(), 3);  // the created sprite keeps its number
    const int32_t white = CreateFilled(layer, 16, 12, White);
    layer.DD7BltFast(0, 0, white, {0, 0, 16, 12});
    layer.DD7BltFast(0, 0, created, {0, 0, 4, 4});  // no surface until re-created: nothing
    layer.DD7BltFast(0, 0, loaded, {0, 0, 3, 2});   // reloaded, still keyed
    EXPECT_EQ(layer.BackSurface()->Pixel(0, 0) & 0xFFFFFF, White);
    EXPECT_EQ(layer.BackSurface()->Pixel(2, 1) & 0xFFFFFF, Pattern(2, 1));

    layer.ChangeScreen(&frame, picture, 16, 12);
    EXPECT_FALSE(layer.FullScreenMode());
    EXPECT_FALSE(frame.isFullScreen());
    EXPECT_EQ(picture->geometry(), QRect(0, 0, 16, 12));
}
