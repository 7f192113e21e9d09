#include "FaceShuffle.h"

#include "PaiStructure.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <random>
#include <utility>

FaceShuffle::Faces FaceShuffle::Present(const PaiStructure& board)
{
    Faces present;
    for (int32_t id = 0; id < board.MaxID(); ++id)
        if (board.Validity(id)) {
            present.faces.push_back(board.PaiIndex(id));
            present.groups.push_back(board.Group(id));
        }
    return present;
}

uint64_t FaceShuffle::PositionHash(const PaiStructure& board)
{
    // FNV-1a: fixed everywhere, unlike std::hash.
    uint64_t hash = 14695981039346656037ULL;
    const auto fold = [&hash](int32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            hash ^= static_cast<uint64_t>(static_cast<uint32_t>(value) >> shift & 0xFF);
            hash *= 1099511628211ULL;
        }
    };
    for (int32_t id = 0; id < board.MaxID(); ++id)
        if (board.Validity(id)) {
            fold(id);
            fold(board.PaiIndex(id));
        }
    return hash;
}

namespace {

// Uniform enough for shuffling, and drawn alike by every standard library.
size_t Below(std::mt19937_64& random, size_t bound)
{
    return static_cast<size_t>(random() % bound);
}

template <typename T>
void Permute(std::vector<T>& values, std::mt19937_64& random)
{
    for (size_t i = values.size(); i > 1; --i)
        std::swap(values[i - 1], values[Below(random, i)]);
}

} // namespace

// The faces go out set by set along a random play-out of the places left, as
// a deal is made: each set of one class lands on places that are free together
// once the sets before it are gone, so the play-out clears the board. Where
// the play-out runs out of free places, the try is a plain permutation.
FaceShuffle::Faces FaceShuffle::Try(const PaiStructure& board, int32_t count, int32_t attempt)
{
    const uint64_t hash = PositionHash(board);
    std::seed_seq seed{static_cast<uint32_t>(hash), static_cast<uint32_t>(hash >> 32), static_cast<uint32_t>(count),
                       static_cast<uint32_t>(attempt)};
    std::mt19937_64 random(seed);
    const Faces present = Present(board);
    const size_t once = static_cast<size_t>(std::max(board.Once(), 1));

    std::vector<std::pair<int32_t, int32_t>> kinds;
    for (size_t k = 0; k < present.faces.size(); ++k)
        kinds.emplace_back(present.groups[k], present.faces[k]);
    std::ranges::sort(kinds);
    if (kinds.size() % once != 0)
        return Permuted(present, random);
    std::vector<std::vector<std::pair<int32_t, int32_t>>> sets;
    for (size_t k = 0; k + once <= kinds.size(); k += once) {
        sets.emplace_back(kinds.begin() + static_cast<std::ptrdiff_t>(k),
                          kinds.begin() + static_cast<std::ptrdiff_t>(k + once));
        Permute(sets.back(), random);
    }
    Permute(sets, random);

    std::map<int32_t, std::pair<int32_t, int32_t>> placed;
    PaiStructure scratch = board;
    for (const auto& set : sets) {
        std::vector<int32_t> free;
        for (int32_t id = 0; id < scratch.MaxID(); ++id)
            if (scratch.Validity(id) && scratch.Selectable(id))
                free.push_back(id);
        if (free.size() < set.size())
            return Permuted(present, random);
        Permute(free, random);
        for (size_t k = 0; k < set.size(); ++k) {
            placed[free[k]] = set[k];
            scratch.PickedPai(free[k]);
        }
        scratch.CalcSelectable();
    }
    Faces faces;
    for (const auto& [id, kind] : placed) {
        faces.groups.push_back(kind.first);
        faces.faces.push_back(kind.second);
    }
    return faces;
}

FaceShuffle::Faces FaceShuffle::Permuted(Faces faces, std::mt19937_64& random)
{
    std::vector<size_t> order(faces.faces.size());
    for (size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    Permute(order, random);
    Faces permuted;
    for (const size_t k : order) {
        permuted.faces.push_back(faces.faces[k]);
        permuted.groups.push_back(faces.groups[k]);
    }
    return permuted;
}

std::optional<FaceShuffle::Faces> FaceShuffle::FindClearable(const PaiStructure& board, int32_t count,
                                                             const PositionJudge& judge)
{
    const std::atomic<bool> never{false};
    for (int32_t attempt = 0; attempt < kTries; ++attempt) {
        Faces faces = Try(board, count, attempt);
        PaiStructure shuffled = board;
        Apply(shuffled, faces);
        if (judge(shuffled, never) == Outlook::Winnable)
            return faces;
    }
    return std::nullopt;
}

void FaceShuffle::Apply(PaiStructure& board, const Faces& faces)
{
    size_t k = 0;
    for (int32_t id = 0; id < board.MaxID() && k < faces.faces.size(); ++id)
        if (board.Validity(id)) {
            board.SetFace(id, faces.faces[k], faces.groups[k]);
            ++k;
        }
    board.CalcSelectable();
}
