#pragma once

class GameFolders;

// What the game puts right and tells at start: the temporary files a killed
// write left in the folders the game writes, and settings files that could
// not be used (told once, in a message box).
class StartupChecks {
public:
    static void RemoveStaleTemporaries(const GameFolders& folders);
    static void TellSettingsProblems();
};
