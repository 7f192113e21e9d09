// tovrik-tool solve-figures: how fast the solver decides positions of real
// play, per layout: deals, then random legal play, which may spoil them.
#include "ToolCommand.h"

#include "PaiStructure.h"
#include "RandomPlay.h"
#include "Solver.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <limits>
#include <stdexcept>

namespace {

// The share of the deal's sets played at random before solving.
constexpr int kQuarters[] = {0, 1, 2};

struct LayoutFigures {
    int positions = 0;
    int winnable = 0;
    int unwinnable = 0;
    std::vector<double> ms;
};

LayoutFigures Measure(const std::string& path, int first, int last, double budgetMs)
{
    LayoutFigures figures;
    SolveBudget budget;
    budget.nodeLimit = std::numeric_limits<uint64_t>::max();
    budget.timeLimitMs = budgetMs;
    budget.processorTime = true;
    PaiStructure board;
    for (int problem = first; problem <= last; ++problem) {
        for (const int quarters : kQuarters) {
            board.CreateTable(path, problem, 0);
            const int32_t sets = board.MaxID() / board.Once() * quarters / 4;
            PlayRandomSets(board, sets, static_cast<uint32_t>(problem * 4 + quarters));
            const SolverResult result = Solve(board, budget);
            ++figures.positions;
            figures.winnable += result.verdict == SolverResult::Verdict::Winnable;
            figures.unwinnable += result.verdict == SolverResult::Verdict::Unwinnable;
            figures.ms.push_back(result.ms);
        }
    }
    std::sort(figures.ms.begin(), figures.ms.end());
    return figures;
}

std::string Ms(double ms)
{
    char text[32];
    std::snprintf(text, sizeof text, ms < 10 ? "%.2f" : "%.0f", ms);
    return text;
}

void PrintRow(const std::string& path, const LayoutFigures& figures, double budgetMs)
{
    const int decided = figures.winnable + figures.unwinnable;
    const double p99 = figures.ms[std::min(figures.ms.size() - 1, figures.ms.size() * 99 / 100)];
    char share[32];
    std::snprintf(share, sizeof share, "%.1f %%", 100.0 * decided / figures.positions);
    std::cout << "| `" << std::filesystem::path(path).stem().string() << "` | " << figures.positions << " | "
              << share << " | " << figures.winnable << " | " << figures.unwinnable << " | "
              << Ms(figures.ms[figures.ms.size() / 2]) << " | " << (p99 >= budgetMs ? "> " + Ms(budgetMs) : Ms(p99))
              << " |\n"
              << std::flush;
}

const ToolCommand figuresCommand(
    "solve-figures", "solve-figures FILE... [--problems A-B] [--budget-ms T]",
    [](const std::vector<std::string>& raw) {
        ToolArgs args(raw);
        const std::string range = args.TakeOption("--problems", "1-100");
        const int budgetMs = args.TakeIntOption("--budget-ms", 1000);
        const auto [first, last] = ParseRange(range);
        if (first < 1)
            throw std::invalid_argument("--problems starts at 1 or more, not '" + range + "'");
        const std::vector<std::string> layouts = args.TakeRest();
        if (layouts.empty())
            throw std::invalid_argument("missing layout FILE");
        std::cout << "| layout | positions | decided | winnable | unwinnable | median ms | 99th percentile ms |\n"
                  << "|---|---|---|---|---|---|---|\n";
        for (const std::string& path : layouts)
            PrintRow(path, Measure(path, first, last, budgetMs), budgetMs);
        return 0;
    });

} // namespace
