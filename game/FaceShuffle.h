#pragma once

#include "WayBack.h"

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

class PaiStructure;

// A shuffle of the tiles left that the player can still clear: the tiles keep
// their places, and their faces, each with its match class, are permuted over
// those places, so every class keeps its tiles. Each try is seeded from the
// position and the shuffle count, so the same position shuffles the same way
// wherever it is shuffled.
class FaceShuffle {
public:
    static constexpr int32_t kTries = 20;
    static constexpr double kJudgeMs = 300.0;

    // The faces and match classes of the tiles on the board, in slot order.
    struct Faces {
        std::vector<int32_t> faces;
        std::vector<int32_t> groups;
        bool operator==(const Faces&) const = default;
    };

    static Faces Present(const PaiStructure& board);
    // The present tiles' slots and faces, folded into 64 bits.
    static uint64_t PositionHash(const PaiStructure& board);
    // Try number attempt (0 on) of shuffle number count (1 on): the faces in
    // slot order of the tiles on the board.
    static Faces Try(const PaiStructure& board, int32_t count, int32_t attempt);
    // The first of kTries tries that judge proves winnable, or none.
    static std::optional<Faces> FindClearable(const PaiStructure& board, int32_t count, const PositionJudge& judge);
    // The faces permuted over the same tiles, kept with their classes.
    static Faces Permuted(Faces faces, std::mt19937_64& random);
    // Puts the faces on the present tiles in slot order and works out which
    // tiles are free again.
    static void Apply(PaiStructure& board, const Faces& faces);
};
