#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// The sets most recently taken back, which redo may put back newest first.
// Kept in memory only; any other change of the game forgets them.
class RedoHistory {
public:
    using Set = std::vector<int32_t>;

    void TakenBack(Set set) { sets_.push_back(std::move(set)); }
    // The set redo would take next, if any.
    std::optional<Set> Next() const;
    void Retaken()
    {
        if (!sets_.empty())
            sets_.pop_back();
    }
    void Clear() { sets_.clear(); }
    int32_t Size() const { return static_cast<int32_t>(sets_.size()); }

private:
    std::vector<Set> sets_;
};
