#pragma once

#include <cstdint>

class PaiStructure;

// Takes up to `sets` random legal sets from the board (fewer when it runs out
// of moves), the same ones for the same seed. Such play may well leave a
// position that can no longer be cleared: positions to test and measure on.
// Returns the number of sets taken.
int32_t PlayRandomSets(PaiStructure& board, int32_t sets, uint32_t seed);
