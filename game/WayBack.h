#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

class PaiStructure;

// Whether a position can still be cleared; Unknown when the judge gave up.
enum class Outlook { Winnable, Unwinnable, Unknown };

// Decides one position. It should give up with Unknown soon after cancel
// turns true.
using PositionJudge = std::function<Outlook(const PaiStructure& board, const std::atomic<bool>& cancel)>;

struct WayBack {
    Outlook now = Outlook::Unknown;
    // When the position is lost: the fewest moves to take back to reach a
    // winnable one, or 0 when no earlier position was found winnable (or the
    // search was cut short by an unknown verdict or by cancel).
    int32_t movesBack = 0;
};

// Judges the board, and when it is lost, the earlier positions of the game
// newest first. history holds the removed tiles in removal order, removed of
// them in play, once per move.
WayBack FindWayBack(PaiStructure board, const std::vector<int32_t>& history, int32_t removed, int32_t once,
                    const PositionJudge& judge, const std::atomic<bool>& cancel);
