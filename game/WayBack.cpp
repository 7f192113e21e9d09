#include "WayBack.h"

#include "PaiStructure.h"

WayBack FindWayBack(PaiStructure board, const std::vector<int32_t>& history, int32_t removed, int32_t once,
                    const PositionJudge& judge, const std::atomic<bool>& cancel)
{
    WayBack way;
    way.now = judge(board, cancel);
    if (way.now != Outlook::Unwinnable || once < 1)
        return way;
    for (int32_t moves = 1; moves * once <= removed; ++moves) {
        const int32_t first = removed - moves * once;
        for (int32_t k = first; k < first + once; ++k)
            board.SetPlayback(history[k]);
        board.CalcSelectable();
        const Outlook earlier = judge(board, cancel);
        if (cancel || earlier == Outlook::Unknown)
            return way;
        if (earlier == Outlook::Winnable) {
            way.movesBack = moves;
            return way;
        }
    }
    return way;
}
