#include <gtest/gtest.h>

#include "PixelFormat.h"

TEST(PixelFormat, HighColour565)
{
    const PixelFormat format{0xF800, 0x07E0, 0x001F};
    EXPECT_EQ(format.ToPixelColor(0xFFFFFF), 0xFFFFu);
    EXPECT_EQ(format.ToPixelColor(0xFF00FF), 0xF81Fu);
    EXPECT_EQ(format.ToPixelColor(0x0000FF), 0xF800u);
    EXPECT_EQ(format.ToPixelColor(0xFF9933), 0x34DFu);
    EXPECT_EQ(format.ToPixelColor(0x000000), 0u);
}

TEST(PixelFormat, HighColour555)
{
    const PixelFormat format{0x7C00, 0x03E0, 0x001F};
    EXPECT_EQ(format.ToPixelColor(0xFF00FF), 0x7C1Fu);
    EXPECT_EQ(format.ToPixelColor(0x00FF00), 0x03E0u);
}

TEST(PixelFormat, TrueColourSwapsRedAndBlue)
{
    const PixelFormat format;  // the surfaces' own 8-8-8 format
    EXPECT_EQ(format.ToPixelColor(0x0000FF), 0xFF0000u);
    EXPECT_EQ(format.ToPixelColor(0xFF9933), 0x3399FFu);
    EXPECT_EQ(format.ToPixelColor(0x123456), 0x563412u);
}

TEST(PixelFormat, PaletteDisplayWithoutMasksGivesZeroInsteadOfDividing)
{
    const PixelFormat format{0, 0, 0};
    EXPECT_EQ(format.ToPixelColor(0xFFFFFF), 0u);
}
