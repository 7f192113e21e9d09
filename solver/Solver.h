#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

class PaiStructure;
class SolverPosition;

// How much a search may spend. It stops with an unknown verdict when either
// limit is reached or *cancel becomes true (checked every few hundred nodes).
struct SolveBudget {
    uint64_t nodeLimit = 5'000'000;
    double timeLimitMs = 1000.0;
    const std::atomic<bool>* cancel = nullptr;
    // Count the time limit (and SolverResult::ms) in processor time of the
    // whole process instead of wall time: for single-threaded measurements
    // on a busy machine.
    bool processorTime = false;
};

struct SolverResult {
    enum class Verdict { Winnable, Unwinnable, Unknown };
    Verdict verdict = Verdict::Unknown;
    // When winnable: slot numbers of the sets that clear the board, in order.
    std::vector<std::vector<int32_t>> sets;
    uint64_t nodes = 0;
    double ms = 0.0;
};

// Decides whether the board's position can still be cleared, knowing every
// face (face-down tiles included). Never wrong: when the budget runs out the
// verdict is Unknown.
SolverResult Solve(const PaiStructure& board, const SolveBudget& budget = {});
// The same on a snapshot, which a worker thread may own while the board changes.
SolverResult Solve(const SolverPosition& position, const SolveBudget& budget = {});

const char* VerdictName(SolverResult::Verdict verdict);
