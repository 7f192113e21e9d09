#pragma once

#include <cstdint>

class PaiCtrl;

// What the end-of-game notices may see of the game and ask of it. The shell's
// module carries the commands out and redraws.
class GameCommands {
public:
    virtual ~GameCommands() = default;

    // The game whose position is judged.
    virtual const PaiCtrl& Position() const = 0;
    virtual void TakeBack(int32_t moves) = 0;
    // Deals the faces of the tiles left anew so that the game can be cleared.
    virtual void Shuffle() = 0;
    virtual void Restart() = 0;
    virtual void NewGame() = 0;
    // The clear animation is running: nothing is told meanwhile.
    virtual bool Animating() const = 0;
};
