#pragma once

#include "ToolCommand.h"

class PaiCtrl;

// Deals FILE (--problem N, --facedown M) and plays the first --moves sets of
// its answer, clicking each set's tiles in answer order.
void PlayDeal(PaiCtrl& ctrl, ToolArgs& args);
