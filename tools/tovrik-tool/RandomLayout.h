#pragma once

#include "LayoutSource.h"

#include <cstdint>
#include <random>

// Random layouts of many shapes for measuring the solver on boards it was
// never tuned on: a ground plan (block, ring, cross, islands, bands ...),
// tiles aligned or on half-tile offsets, stacks up to a chosen height, and
// all classes in use.
class RandomLayout {
public:
    // Each call gives a new layout of `tiles` tiles (a multiple of the set
    // size and even, 72-512) taken in sets of setSize.
    static LayoutSource Make(int32_t tiles, int32_t setSize, std::mt19937& random);
};
