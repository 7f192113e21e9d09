#pragma once

#include <functional>

// Runs work handed from the event loop: an error ends the work, not the
// program, and is shown to the player with its reason.
void RunGuarded(const std::function<void()>& work);
