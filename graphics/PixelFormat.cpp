#include "PixelFormat.h"

#include <cmath>

namespace {

// The channel's largest value: the mask shifted down to its lowest set bit.
uint32_t ChannelMaximum(uint32_t mask)
{
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
    }
    return mask;
}

uint32_t PlaceChannel(uint32_t channel, uint32_t mask)
{
    const uint32_t maximum = ChannelMaximum(mask);
    if (maximum == 0) {
        return 0;
    }
    const auto scaled = static_cast<uint32_t>(std::nearbyint(maximum * double(channel) / 255.0));
    return scaled * (mask / maximum);
}

}  // namespace

uint32_t PixelFormat::ToPixelColor(uint32_t colour) const
{
    const uint32_t red = colour & 0xFF;
    const uint32_t green = (colour >> 8) & 0xFF;
    const uint32_t blue = (colour >> 16) & 0xFF;
    return PlaceChannel(green, greenMask) + PlaceChannel(red, redMask) + PlaceChannel(blue, blueMask);
}
