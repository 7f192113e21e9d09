#include "StatusFigures.h"

#include "PaiStructure.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <map>

namespace {

// n choose k, held below the int range; a board of 512 tiles stays far below it.
int64_t Choose(int64_t n, int64_t k)
{
    int64_t result = 1;
    for (int64_t i = 1; i <= k; ++i)
        result = std::min<int64_t>(result * (n - k + i) / i, std::numeric_limits<int32_t>::max());
    return result;
}

} // namespace

int32_t StatusFigures::TakeableSets(const PaiStructure& board)
{
    std::map<int32_t, int64_t> freeOfClass;
    for (int32_t id = 0; id < board.MaxID(); ++id)
        if (board.Validity(id) && board.Selectable(id))
            ++freeOfClass[board.Group(id)];
    int64_t sets = 0;
    for (const auto& [group, free] : freeOfClass)
        if (board.Once() > 0 && free >= board.Once())
            sets += Choose(free, board.Once());
    return static_cast<int32_t>(std::min<int64_t>(sets, std::numeric_limits<int32_t>::max()));
}

std::string StatusFigures::ClockText(int64_t ms)
{
    const int64_t seconds = std::max<int64_t>(ms, 0) / 1000;
    char text[32];
    if (seconds >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                      static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60));
    return text;
}
