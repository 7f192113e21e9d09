#pragma once

#include "ToolCommand.h"

#include <string>

class PaiCtrl;

// Deals FILE (--problem N, --facedown M) and plays the first --moves sets of
// its answer, clicking each set's tiles in answer order.
void PlayDeal(PaiCtrl& ctrl, ToolArgs& args);

// Takes the sets of text ("a,b;c,d", slot numbers) one after another; a set
// that is not a legal move raises std::invalid_argument naming it.
void PlaySets(PaiCtrl& ctrl, const std::string& text);
