#pragma once

#include <QString>

// tovrik --smoke-test: starts the game without a screen, finds its data the
// way it always does, deals the first layout, plays one set, saves, loads and
// writes a setting (read back from the file), then ends. It works on a scratch
// copy of the player's settings and data folders, so the player's files never
// change. Prints where everything was found; 0 when every step worked, 1 with
// the reason otherwise (a display platform that cannot start included).
// Packagers and the install test run it against an installed copy.
int RunSmokeTest(const QString& programFolder);

// Before the application object: the headless platform unless another is
// asked for, and a platform that fails ends the test with 1 and the reason.
void PrepareSmokeTest();

// Whether the arguments ask for the smoke test.
bool AsksForSmokeTest(int argc, char* argv[]);
