#include "RandomPlay.h"

#include "PaiStructure.h"

#include <algorithm>
#include <random>
#include <vector>

namespace {

// A random free tile with Once - 1 free partners of its class, or nothing.
std::vector<int32_t> RandomSet(const PaiStructure& board, std::mt19937& random)
{
    std::vector<int32_t> free;
    for (int32_t slot = 0; slot < board.MaxID(); ++slot) {
        if (board.Validity(slot) && board.Selectable(slot))
            free.push_back(slot);
    }
    std::shuffle(free.begin(), free.end(), random);
    for (const int32_t first : free) {
        std::vector<int32_t> set;
        for (const int32_t slot : free) {
            if (board.Group(slot) == board.Group(first) && static_cast<int32_t>(set.size()) < board.Once())
                set.push_back(slot);
        }
        if (static_cast<int32_t>(set.size()) == board.Once())
            return set;
    }
    return {};
}

} // namespace

int32_t PlayRandomSets(PaiStructure& board, int32_t sets, uint32_t seed)
{
    std::mt19937 random(seed);
    board.CalcSelectable();
    for (int32_t taken = 0; taken < sets; ++taken) {
        const std::vector<int32_t> set = RandomSet(board, random);
        if (set.empty())
            return taken;
        for (const int32_t slot : set)
            board.PickedPai(slot);
        board.CalcSelectable();
    }
    return sets;
}
