#pragma once

#include <cstdint>
#include <vector>

// The 41 count bytes for a layout of tiles tiles taken setSize at a time.
// Pairs get the classic set for 144 tiles, else classes of four and then one
// pair; trios and quartets spread whole sets as evenly as they can over the
// 38 classes of one face each. Every count is a multiple of the set size;
// tiles must be one, and even, up to 512.
std::vector<uint8_t> AssignedClassCounts(int tiles, int setSize);
