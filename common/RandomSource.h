#pragma once

#include <cstdint>

// The seeded random source of deals and of the random problem number. Its
// algorithm is fixed (SplitMix64 over a 64-bit state, integer arithmetic only)
// so that a layout and a problem number give the same deal on every build and
// machine: problem numbers are a promise to players.
class RandomSource {
public:
    // Forgets all earlier use: the state depends on value alone.
    void Reset(int16_t value);
    // Mixes number into the state, so one number always yields one sequence.
    void Seed(int32_t number);
    // Mixes the clock into the state: a different sequence on every run.
    void SeedFromClock();
    // Next value in [0, 1), single precision (24 random bits).
    float Next();
    // An index in 0 … m, drawn as floor(Next() × (m + 1)) in double precision.
    int32_t Draw(int32_t m);

    // The generator shared by the deal generator and the game-selection dialog.
    static RandomSource& Shared();

private:
    uint64_t NextBits();
    void Mix(uint64_t value);

    uint64_t state_ = 0;
};
