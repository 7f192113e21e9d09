#pragma once

#include <cstdint>

// Problem numbers 1 to kHighestProblem each name one deal of a layout; 0 asks
// for a fresh random deal. The game and the tool take no others.
constexpr int32_t kHighestProblem = 100000;
