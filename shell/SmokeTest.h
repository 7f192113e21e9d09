#pragma once

#include <QString>

// tovrik --smoke-test: starts the game without a screen, finds its data the
// way it always does, deals the first layout, plays one set, saves, loads and
// writes a setting, then ends. Prints where everything was found; 0 when
// every step worked, 1 with the reason otherwise. Packagers and the install
// test run it against an installed copy.
int RunSmokeTest(const QString& programFolder);

// Whether the arguments ask for the smoke test.
bool AsksForSmokeTest(int argc, char* argv[]);
