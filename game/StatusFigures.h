#pragma once

#include <cstdint>
#include <string>

class PaiStructure;

// The live figures of the side bar's status: the play time and how many
// different sets could be taken now.
struct StatusFigures {
    int64_t playedMs = 0;
    int32_t takeableSets = 0;

    // Counted as the hint marks them: free tiles by match class, face-down
    // ones included, each choice of a set's worth of one class's free tiles.
    static int32_t TakeableSets(const PaiStructure& board);
    // "m:ss", or "h:mm:ss" from an hour on.
    static std::string ClockText(int64_t ms);

    bool operator==(const StatusFigures&) const = default;
};
