#include <gtest/gtest.h>

#include <memory>

#include <QImage>
#include <QWidget>

#include "DX7Draw.h"
#include "NumberedError.h"

namespace {

// Colours as callers give them, 0x00BBGGRR.
constexpr uint32_t RedColour = 0x0000FF;
constexpr uint32_t BlueColour = 0xFF0000;
constexpr uint32_t WhiteColour = 0xFFFFFF;
constexpr uint32_t MagentaColour = 0xFF00FF;
// The same as surface pixels, 0x00RRGGBB.
constexpr uint32_t RedPixel = 0xFF0000;
constexpr uint32_t BluePixel = 0x0000FF;
constexpr uint32_t WhitePixel = 0xFFFFFF;
constexpr uint32_t MagentaPixel = 0xFF00FF;

uint32_t Rgb(const PixelSurface& surface, int32_t x, int32_t y)
{
    return surface.Pixel(x, y) & 0xFFFFFF;
}

// A picture whose pixel (x, y) is pixelAt(x, y) (0x00RRGGBB).
template <typename Rule>
QImage Picture(int w, int h, Rule pixelAt)
{
    QImage picture(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            picture.setPixel(x, y, 0xFF000000u | pixelAt(x, y));
        }
    }
    return picture;
}

uint32_t Gradient(int x, int y)
{
    return 0x100000u | uint32_t(y << 8) | uint32_t(x);
}

std::unique_ptr<DX7Draw> Layer(int32_t w = 32, int32_t h = 24)
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

}  // namespace

TEST(DX7Draw, HandsOutNumbersOneToNinetyNineOnlyOnceInitialised)
{
    DX7Draw layer;
    EXPECT_EQ(layer.GetFreeNumber(), 0);
    layer.Initialize(nullptr, nullptr, 0, 566);
    EXPECT_EQ(layer.GetFreeNumber(), 0);
    EXPECT_EQ(layer.BackSurface(), nullptr);

    layer.Initialize(nullptr, nullptr, 792, 566);
    ASSERT_NE(layer.BackSurface(), nullptr);
    EXPECT_EQ(layer.BackSurface()->Width(), 792);
    for (int32_t expected = 1; expected <= 99; ++expected) {
        const int32_t number = layer.GetFreeNumber();
        ASSERT_EQ(number, expected);
        layer.CreateSprite(number, 2, 2);
    }
    EXPECT_EQ(layer.GetFreeNumber(), 0);
    layer.CreateSprite(0, 2, 2);  // what a caller does with the 0: nothing
    EXPECT_EQ(layer.SpriteSurface(0), nullptr);
}

TEST(DX7Draw, OutOfRangeNumbersChangeNothingAndReusedNumbersAreReplaced)
{
    auto layer = Layer();
    layer->CreateSprite(0, 4, 4);
    layer->CreateSprite(100, 4, 4);
    layer->CreateSprite(-1, 4, 4);
    EXPECT_EQ(layer->SpriteSurface(100), nullptr);
    EXPECT_EQ(layer->GetFreeNumber(), 1);

    layer->CreateSprite(1, 4, 4);
    layer->CreateSprite(1, 8, 2);
    ASSERT_NE(layer->SpriteSurface(1), nullptr);
    EXPECT_EQ(layer->SpriteSurface(1)->Width(), 8);
    EXPECT_EQ(layer->SpriteSurface(1)->Height(), 2);
    EXPECT_EQ(layer->GetFreeNumber(), 2);
}

TEST(DX7Draw, RefusesHugeSurfacesWithAnError)
{
    auto layer = Layer();
    try {
        layer->CreateSprite(1, 8193, 8193);
        FAIL() << "a sprite beyond 8192 x 8192 was created";
    } catch (const NumberedError& error) {
        EXPECT_EQ(error.number(), NumberedError::Overflow);
    }
    EXPECT_THROW(layer->CreateSprite(1, 70000, 70000), NumberedError);
    EXPECT_THROW(layer->CreateSprite(1, 0, 10), NumberedError);
    EXPECT_EQ(layer->GetFreeNumber(), 1);  // the number was never taken
    EXPECT_THROW(layer->LoadPicture(1, QImage()), NumberedError);

    DX7Draw huge;
    EXPECT_THROW(huge.Initialize(nullptr, nullptr, 100000, 100000), NumberedError);
    EXPECT_EQ(huge.GetFreeNumber(), 0);
}

TEST(DX7Draw, NumbersNotInUseDrawNothing)
{
    auto layer = Layer(8, 8);
    const int32_t ground = CreateFilled(*layer, 8, 8, BlueColour);
    layer->DD7BltFast(0, 0, ground, {0, 0, 8, 8});
    const int32_t red = CreateFilled(*layer, 8, 8, RedColour);

    layer->DD7BltFast(0, 0, 42, {0, 0, 8, 8});
    layer->DD7Blt({0, 0, 8, 8}, 42, {0, 0, 4, 4});
    layer->DD7SpriteBltFast(ground, 0, 0, 42, {0, 0, 8, 8});
    layer->DD7SpriteBltFast(42, 0, 0, red, {0, 0, 8, 8});
    layer->DD7SpriteBlt(ground, {0, 0, 8, 8}, 0, {0, 0, 8, 8});
    layer->DD7Fill(42, {0, 0, 8, 8}, RedColour);
    layer->DD7Fill(100, {0, 0, 8, 8}, RedColour);
    layer->DD7LoadPicBltFast(42, {0, 0, 8, 8}, Picture(8, 8, Gradient), 0, 0);
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            ASSERT_EQ(Rgb(*layer->BackSurface(), x, y), BluePixel);
            ASSERT_EQ(Rgb(*layer->SpriteSurface(ground), x, y), BluePixel);
        }
    }
}

TEST(DX7Draw, FillConvertsTheColourToThePixelFormat)
{
    auto layer = Layer();
    const int32_t backdrop = CreateFilled(*layer, 4, 3, 0xFF9933);
    EXPECT_EQ(layer->SpriteSurface(backdrop)->Pixel(3, 2), 0x3399FFu);
    EXPECT_EQ(layer->SpriteSurface(backdrop)->Pixel(0, 0), 0x3399FFu);
}

TEST(DX7Draw, KeyedSourceLeavesTheTargetWhereItsPixelsMatchTheKey)
{
    auto layer = Layer(6, 4);
    // Left half red (the key colour), right half blue.
    const QImage sheet = Picture(6, 4, [](int x, int) { return x < 3 ? RedPixel : BluePixel; });
    const int32_t hud = layer->GetFreeNumber();
    layer->LoadPicture(hud, sheet, true, RedColour, RedColour);
    const int32_t plain = layer->GetFreeNumber();
    layer->LoadPicture(plain, sheet);
    const int32_t white = CreateFilled(*layer, 6, 4, WhiteColour);

    layer->DD7BltFast(0, 0, white, {0, 0, 6, 4});
    layer->DD7BltFast(0, 0, hud, {0, 0, 6, 4});
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 6; ++x) {
            ASSERT_EQ(Rgb(*layer->BackSurface(), x, y), x < 3 ? WhitePixel : BluePixel);
        }
    }
    layer->DD7BltFast(0, 0, plain, {0, 0, 6, 4});
    for (int32_t x = 0; x < 6; ++x) {
        EXPECT_EQ(Rgb(*layer->BackSurface(), x, 2), x < 3 ? RedPixel : BluePixel);
    }
}

TEST(DX7Draw, SheetLaidOverWhiteTurnsItsTransparentPixelsWhite)
{
    auto layer = Layer();
    const QImage sheet =
        Picture(5, 3, [](int x, int y) { return (x + y) % 2 == 0 ? MagentaPixel : Gradient(x, y); });
    const int32_t tiles = layer->GetFreeNumber();
    layer->LoadPicture(tiles, sheet, true, MagentaColour, MagentaColour);
    const int32_t onWhite = layer->GetFreeNumber();
    layer->CreateSprite(onWhite, 5, 3, true, WhiteColour, WhiteColour);
    layer->DD7Fill(onWhite, {0, 0, 5, 3}, WhiteColour);
    layer->DD7SpriteBltFast(onWhite, 0, 0, tiles, {0, 0, 5, 3});
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 5; ++x) {
            const uint32_t expected = (x + y) % 2 == 0 ? WhitePixel : Gradient(x, y);
            ASSERT_EQ(Rgb(*layer->SpriteSurface(onWhite), x, y), expected);
        }
    }
}

TEST(DX7Draw, FastCopiesOffTheSurfaceDrawNothingButPictureCopiesClip)
{
    auto layer = Layer(8, 8);
    const int32_t ground = CreateFilled(*layer, 8, 8, BlueColour);
    const int32_t red = CreateFilled(*layer, 4, 4, RedColour);
    layer->DD7BltFast(0, 0, ground, {0, 0, 8, 8});
    layer->DD7BltFast(6, 6, red, {0, 0, 4, 4});
    layer->DD7SpriteBltFast(ground, -1, 0, red, {0, 0, 4, 4});
    EXPECT_EQ(Rgb(*layer->BackSurface(), 7, 7), BluePixel);
    EXPECT_EQ(Rgb(*layer->SpriteSurface(ground), 0, 0), BluePixel);

    // A 12 × 10 picture centred on the 8 × 8 sprite is cut evenly.
    const QImage wallpaper = Picture(12, 10, Gradient);
    layer->DD7LoadPicBltFast(ground, {-2, -1, 10, 9}, wallpaper, 0, 0);
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            ASSERT_EQ(Rgb(*layer->SpriteSurface(ground), x, y), Gradient(x + 2, y + 1));
        }
    }
}

TEST(DX7Draw, ScaledCopiesStretchSpritesAndPictures)
{
    auto layer = Layer(8, 8);
    const int32_t small = layer->GetFreeNumber();
    layer->LoadPicture(small, Picture(2, 2, Gradient));
    layer->DD7Blt({0, 0, 8, 8}, small, {0, 0, 2, 2});
    const int32_t big = CreateFilled(*layer, 4, 4, WhiteColour);
    layer->DD7SpriteBlt(big, {0, 0, 4, 4}, small, {0, 0, 2, 2});
    const int32_t fromPicture = CreateFilled(*layer, 4, 4, WhiteColour);
    layer->DD7LoadPicBlt(fromPicture, {0, 0, 4, 4}, Picture(2, 2, Gradient), {0, 0, 2, 2});
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            ASSERT_EQ(Rgb(*layer->BackSurface(), x, y), Gradient(x / 4, y / 4));
        }
    }
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            ASSERT_EQ(Rgb(*layer->SpriteSurface(big), x, y), Gradient(x / 2, y / 2));
            ASSERT_EQ(Rgb(*layer->SpriteSurface(fromPicture), x, y), Gradient(x / 2, y / 2));
        }
    }
}

TEST(DX7Draw, FlipShowsTheBackSurfaceAndStretchesItToALargerPicture)
{
    auto layer = Layer(4, 3);
    const int32_t sprite = layer->GetFreeNumber();
    layer->LoadPicture(sprite, Picture(4, 3, Gradient));
    layer->DD7BltFast(0, 0, sprite, {0, 0, 4, 3});

    PictureBox same;
    same.resize(4, 3);
    layer->DD7Flip(&same);
    const QImage shown = same.grab().toImage();
    ASSERT_EQ(shown.size(), QSize(4, 3));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            ASSERT_EQ(shown.pixel(x, y) & 0xFFFFFF, Gradient(x, y));
        }
    }

    PictureBox larger;
    larger.resize(8, 6);
    layer->DD7Flip(&larger);
    EXPECT_EQ(same.Presented(), nullptr);  // one picture window shows the layer at a time
    const QImage stretched = larger.grab().toImage();
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            ASSERT_EQ(stretched.pixel(x, y) & 0xFFFFFF, Gradient(x / 2, y / 2));
        }
    }
    layer.reset();
    EXPECT_EQ(larger.Presented(), nullptr);  // no view into a released surface
}

TEST(DX7Draw, ChangeScreenReloadsPicturesAndLeavesCreatedSpritesToTheCaller)
{
    QWidget frame;
    auto* picture = new PictureBox(&frame);
    picture->setGeometry(0, 0, 16, 12);
    frame.resize(16, 12);
    DX7Draw layer;
    layer.Initialize(&frame, picture, 16, 12);
    const int32_t loaded = layer.GetFreeNumber();
    layer.LoadPicture(loaded, Picture(3, 2, [](int x, int y) {
                          return x == 0 ? MagentaPixel : Gradient(x, y);
                      }),
                      true, MagentaColour, MagentaColour);
    const int32_t created = CreateFilled(layer, 4, 4, BlueColour);

    layer.ChangeScreen(&frame, picture, 16, 12);
    EXPECT_TRUE(layer.FullScreenMode());
    EXPECT_TRUE(frame.isFullScreen());
    ASSERT_NE(layer.SpriteSurface(loaded), nullptr);
    EXPECT_EQ(Rgb(*layer.SpriteSurface(loaded), 2, 1), Gradient(2, 1));
    EXPECT_EQ(layer.SpriteSurface(created), nullptr);
    EXPECT_EQ(layer.GetFreeNumber(), 3);  // the created sprite keeps its number

    const int32_t white = CreateFilled(layer, 16, 12, WhiteColour);
    layer.DD7BltFast(0, 0, white, {0, 0, 16, 12});
    layer.DD7BltFast(0, 0, created, {0, 0, 4, 4});  // no surface yet: nothing
    layer.DD7BltFast(0, 0, loaded, {0, 0, 3, 2});   // still keyed
    EXPECT_EQ(Rgb(*layer.BackSurface(), 0, 0), WhitePixel);
    EXPECT_EQ(Rgb(*layer.BackSurface(), 1, 0), Gradient(1, 0));

    layer.ChangeScreen(&frame, picture, 16, 12);
    EXPECT_FALSE(layer.FullScreenMode());
    EXPECT_FALSE(frame.isFullScreen());
    EXPECT_EQ(picture->geometry(), QRect(0, 0, 16, 12));
}
