#include <gtest/gtest.h>

#include "PixelFormat.h"

TEST(PixelFormat, ConvertsColoursForEachChannelLayout)
{
    const PixelFormat highColour565{0xF800, 0x07E0, 0x001F};
    EXPECT_EQ(highColour565.ToPixelColor(0xFFFFFF), 0xFFFFu);
    EXPECT_EQ(highColour565.ToPixelColor(0xFF00FF), 0xF81Fu);
    EXPECT_EQ(highColour565.ToPixelColor(0x0000FF), 0xF800u);
    EXPECT_EQ(highColour565.ToPixelColor(0xFF9933), 0x34DFu);

    const PixelFormat highColour555{0x7C00, 0x03E0, 0x001F};
    EXPECT_EQ(highColour555.ToPixelColor(0xFF00FF), 0x7C1Fu);
    EXPECT_EQ(highColour555.ToPixelColor(0x00FF00), 0x03E0u);

    const PixelFormat trueColour;  // the surfaces' own 8-8-8 layout
    EXPECT_EQ(trueColour.ToPixelColor(0x0000FF), 0xFF0000u);
    EXPECT_EQ(trueColour.ToPixelColor(0xFF9933), 0x3399FFu);

    const PixelFormat palette{0, 0, 0};  // no masks: nothing to scale by, and no division by zero
    EXPECT_EQ(palette.ToPixelColor(0xFFFFFF), 0u);
}
