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

std::vector<std::vector<int32_t>> PlayRandomSets(PaiStructure& board, int32_t sets, uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<std::vector<int32_t>> taken;
    board.CalcSelectable();
    while (static_cast<int32_t>(taken.size()) < sets) {
        std::vector<int32_t> set = RandomSet(board, random);
        if (set.empty())
            break;
        for (const int32_t slot : set)
            board.PickedPai(slot);
        board.CalcSelectable();
        taken.push_back(std::move(set));
    }
    return taken;
}
