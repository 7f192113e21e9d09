#pragma once

#include "WayBack.h"

// Judges positions with the exact solver, within its usual budget.
PositionJudge SolverJudge();
