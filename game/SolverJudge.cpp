#include "SolverJudge.h"

#include "Solver.h"

PositionJudge SolverJudge(double timeLimitMs)
{
    return [timeLimitMs](const PaiStructure& board, const std::atomic<bool>& cancel) {
        SolveBudget budget;
        budget.timeLimitMs = timeLimitMs;
        budget.cancel = &cancel;
        switch (Solve(board, budget).verdict) {
        case SolverResult::Verdict::Winnable: return Outlook::Winnable;
        case SolverResult::Verdict::Unwinnable: return Outlook::Unwinnable;
        case SolverResult::Verdict::Unknown: break;
        }
        return Outlook::Unknown;
    };
}
