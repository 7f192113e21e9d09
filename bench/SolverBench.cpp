#include "PaiStructure.h"
#include "RandomPlay.h"
#include "Solver.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kProblems = 100;

// Problems 1-100 of the layout after `quarters` quarters of their sets were
// taken at random (which may already have spoilt them).
std::vector<PaiStructure> Positions(const std::string& name, int quarters)
{
    std::vector<PaiStructure> boards(kProblems);
    for (int problem = 1; problem <= kProblems; ++problem) {
        PaiStructure& board = boards[problem - 1];
        board.CreateTable(std::string(TOVRIK_SOURCE_DIR) + "/data/template/" + name + ".tvm", problem, 0);
        PlayRandomSets(board, board.MaxID() / board.Once() * quarters / 4,
                       static_cast<uint32_t>(problem * 4 + quarters));
    }
    return boards;
}

// One iteration decides one position, problem after problem.
void SolvePositions(benchmark::State& state, const std::string& name)
{
    const std::vector<PaiStructure> boards = Positions(name, static_cast<int>(state.range(0)));
    SolveBudget budget;
    budget.timeLimitMs = 1000;
    size_t next = 0;
    int64_t undecided = 0;
    for (auto _ : state) {
        const SolverResult result = Solve(boards[next]);
        undecided += result.verdict == SolverResult::Verdict::Unknown;
        next = (next + 1) % boards.size();
        benchmark::DoNotOptimize(result.nodes);
    }
    state.counters["undecided"] =
        benchmark::Counter(static_cast<double>(undecided), benchmark::Counter::kAvgIterations);
}

void BM_SolveClassic(benchmark::State& state) { SolvePositions(state, "classic"); }
BENCHMARK(BM_SolveClassic)->Arg(0)->Arg(1)->Arg(2)->Iterations(kProblems)->Unit(benchmark::kMillisecond);

void BM_SolveLarge(benchmark::State& state) { SolvePositions(state, "large"); }
BENCHMARK(BM_SolveLarge)->Arg(0)->Arg(1)->Arg(2)->Iterations(kProblems)->Unit(benchmark::kMillisecond);

void BM_SolveQuartet(benchmark::State& state) { SolvePositions(state, "quartet"); }
BENCHMARK(BM_SolveQuartet)->Arg(0)->Arg(1)->Arg(2)->Iterations(kProblems)->Unit(benchmark::kMillisecond);

} // namespace
