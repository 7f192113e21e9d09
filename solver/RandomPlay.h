#pragma once

#include <cstdint>
#include <vector>

class PaiStructure;

// Takes up to `sets` random legal sets from the board (fewer when it runs out
// of moves), the same ones for the same seed. Such play may well leave a
// position that can no longer be cleared: positions to test and measure on.
// Returns the sets taken, as slot numbers.
std::vector<std::vector<int32_t>> PlayRandomSets(PaiStructure& board, int32_t sets, uint32_t seed);
