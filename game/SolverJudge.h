#pragma once

#include "Solver.h"
#include "WayBack.h"

// Judges positions with the exact solver, within its usual budget or a time
// limit of its own.
PositionJudge SolverJudge(double timeLimitMs = SolveBudget{}.timeLimitMs);
