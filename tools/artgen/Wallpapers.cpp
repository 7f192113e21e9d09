#include "Wallpapers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

namespace Wallpapers {
namespace {

// A repeatable pseudo-random value in [0, 1) for a lattice point.
double Lattice(int x, int y, uint32_t seed)
{
    uint32_t h = static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return (h & 0xFFFFFF) / double(0x1000000);
}

double Smooth(double t)
{
    return t * t * (3 - 2 * t);
}

// Value noise of one octave, cells of the given size.
double Noise(double x, double y, double cell, uint32_t seed)
{
    const double fx = x / cell;
    const double fy = y / cell;
    const int ix = static_cast<int>(std::floor(fx));
    const int iy = static_cast<int>(std::floor(fy));
    const double tx = Smooth(fx - ix);
    const double ty = Smooth(fy - iy);
    const double top = Lattice(ix, iy, seed) + (Lattice(ix + 1, iy, seed) - Lattice(ix, iy, seed)) * tx;
    const double bottom = Lattice(ix, iy + 1, seed) + (Lattice(ix + 1, iy + 1, seed) - Lattice(ix, iy + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}

// Octaves from coarse to fine, each half as strong; about [0, 1).
double Fractal(double x, double y, double cell, int octaves, uint32_t seed)
{
    double sum = 0;
    double weight = 0.5;
    double total = 0;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += Noise(x, y, cell, seed + octave) * weight;
        total += weight;
        cell /= 2;
        weight /= 2;
    }
    return sum / total;
}

QRgb Mix(QRgb a, QRgb b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    auto channel = [t](int from, int to) { return static_cast<int>(std::lround(from + (to - from) * t)); };
    return qRgb(channel(qRed(a), qRed(b)), channel(qGreen(a), qGreen(b)), channel(qBlue(a), qBlue(b)));
}

QImage Paint(const std::function<QRgb(int, int)>& colourAt)
{
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < kWidth; ++x)
            row[x] = colourAt(x, y);
    }
    return picture;
}

// Green baize: soft blotches and fine fibres.
QRgb Felt(int x, int y)
{
    const double blotch = Fractal(x, y, 96, 3, 11);
    const double fibre = Noise(x, y * 0.35, 1.6, 17);
    return Mix(qRgb(0x1E, 0x5A, 0x32), qRgb(0x2E, 0x7A, 0x44), blotch * 0.8 + fibre * 0.25);
}

// Planks of warm wood with grain running across the board.
QRgb Wood(int x, int y)
{
    constexpr int kPlank = 93;
    const int plank = y / kPlank;
    const double shift = Lattice(plank, 0, 23) * 400;
    const double warp = Fractal(x + shift, y, 120, 3, 29) * 9;
    const double grain = 0.5 + 0.5 * std::sin((y + warp) * 0.9 + Noise(x + shift, y, 40, 31) * 6);
    const double knots = Fractal(x + shift, y * 3, 60, 2, 37);
    QRgb colour = Mix(qRgb(0x8A, 0x55, 0x2C), qRgb(0xB4, 0x7A, 0x44), grain * 0.55 + knots * 0.45);
    if (y % kPlank == 0)
        colour = Mix(colour, qRgb(0x3C, 0x22, 0x10), 0.7);
    return colour;
}

// Deep night blue with faint clouds, darker towards the corners.
QRgb Dark(int x, int y)
{
    const double cloud = Fractal(x, y, 160, 4, 41);
    const double dx = (x - kWidth / 2.0) / kWidth;
    const double dy = (y - kHeight / 2.0) / kHeight;
    const double vignette = 1 - (dx * dx + dy * dy) * 1.6;
    return Mix(qRgb(0x08, 0x0C, 0x1C), qRgb(0x24, 0x30, 0x58), cloud * vignette);
}

// Pale paper with soft mottling and a faint diagonal weave.
QRgb Light(int x, int y)
{
    const double mottle = Fractal(x, y, 128, 4, 53);
    const double weave = 0.5 + 0.5 * std::sin((x + y) * 0.45) * std::sin((x - y) * 0.45);
    return Mix(qRgb(0xE6, 0xDC, 0xC6), qRgb(0xFA, 0xF5, 0xE8), mottle * 0.8 + weave * 0.15);
}

} // namespace

std::vector<Wallpaper> Build()
{
    return {{QStringLiteral("felt.png"), Paint(Felt)},
            {QStringLiteral("wood.png"), Paint(Wood)},
            {QStringLiteral("night.png"), Paint(Dark)},
            {QStringLiteral("paper.png"), Paint(Light)}};
}

} // namespace Wallpapers
