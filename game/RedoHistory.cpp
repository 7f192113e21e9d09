#include "RedoHistory.h"

std::optional<RedoHistory::Set> RedoHistory::Next() const
{
    if (sets_.empty())
        return std::nullopt;
    return sets_.back();
}
