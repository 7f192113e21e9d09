// tovrik-tool solve-figures: how fast the solver decides positions of real
// play, per layout or over a folder of layouts: deals, then random legal
// play, which may spoil them.
#include "ToolCommand.h"

#include "PaiStructure.h"
#include "RandomPlay.h"
#include "Solver.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <limits>
#include <map>
#include <stdexcept>

namespace {

// The share of the deal's sets played at random before solving.
constexpr int kQuarters[] = {0, 1, 2, 3};

struct Figures {
    int positions = 0;
    int winnable = 0;
    int unwinnable = 0;
    std::vector<double> ms;

    void Add(const Figures& other)
    {
        positions += other.positions;
        winnable += other.winnable;
        unwinnable += other.unwinnable;
        ms.insert(ms.end(), other.ms.begin(), other.ms.end());
    }
};

struct Options {
    int first = 1;
    int last = 100;
    double budgetMs = 1000;
    // Positions slower than this are named on the error stream (0: none).
    double reportMs = 0;
};

Figures Measure(const std::string& path, const Options& options, int* setSize = nullptr)
{
    Figures figures;
    SolveBudget budget;
    budget.nodeLimit = std::numeric_limits<uint64_t>::max();
    budget.timeLimitMs = options.budgetMs;
    budget.processorTime = true;
    PaiStructure board;
    for (int problem = options.first; problem <= options.last; ++problem) {
        for (const int quarters : kQuarters) {
            board.CreateTable(path, problem, 0);
            const int32_t sets = board.MaxID() / board.Once() * quarters / 4;
            PlayRandomSets(board, sets, static_cast<uint32_t>(problem * 4 + quarters));
            const SolverResult result = Solve(board, budget);
            ++figures.positions;
            figures.winnable += result.verdict == SolverResult::Verdict::Winnable;
            figures.unwinnable += result.verdict == SolverResult::Verdict::Unwinnable;
            figures.ms.push_back(result.ms);
            if (options.reportMs > 0 && result.ms > options.reportMs)
                std::cerr << path << " problem " << problem << " after " << quarters << "/4: " << result.ms << " ms, "
                          << VerdictName(result.verdict) << "\n";
        }
    }
    if (setSize != nullptr)
        *setSize = board.Once();
    return figures;
}

std::string Ms(double ms, double budgetMs)
{
    if (ms >= budgetMs)
        ms = budgetMs;
    char text[32];
    std::snprintf(text, sizeof text, ms < 10 ? "%.2f" : "%.0f", ms);
    return (ms >= budgetMs ? "> " : "") + std::string(text);
}

// The smallest time within which the share `perMille` / 1000 of positions was decided.
double Percentile(const std::vector<double>& sorted, int perMille)
{
    const size_t rank = (sorted.size() * static_cast<size_t>(perMille) + 999) / 1000;
    return sorted[std::min(sorted.size(), std::max<size_t>(rank, 1)) - 1];
}

void PrintHeader()
{
    std::cout << "| layouts | positions | decided | winnable | unwinnable | median ms | 99th percentile ms "
                 "| 99.9th percentile ms | slowest ms |\n"
              << "|---|---|---|---|---|---|---|---|---|\n";
}

void PrintRow(const std::string& name, Figures figures, double budgetMs)
{
    std::sort(figures.ms.begin(), figures.ms.end());
    const int decided = figures.winnable + figures.unwinnable;
    char share[32];
    std::snprintf(share, sizeof share, "%.1f %%", 100.0 * decided / figures.positions);
    std::cout << "| " << name << " | " << figures.positions << " | " << share << " | " << figures.winnable << " | "
              << figures.unwinnable << " | " << Ms(Percentile(figures.ms, 500), budgetMs) << " | "
              << Ms(Percentile(figures.ms, 990), budgetMs) << " | " << Ms(Percentile(figures.ms, 999), budgetMs)
              << " | " << Ms(figures.ms.back(), budgetMs) << " |\n"
              << std::flush;
}

std::vector<std::string> LayoutsIn(const std::string& folder)
{
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".tvm")
            paths.push_back(entry.path().string());
    }
    std::sort(paths.begin(), paths.end());
    if (paths.empty())
        throw std::invalid_argument("no .tvm layouts in '" + folder + "'");
    return paths;
}

// One row per set size and one for the whole folder.
void PrintCorpus(const std::string& folder, const Options& options)
{
    const std::vector<std::string> paths = LayoutsIn(folder);
    std::map<int, std::pair<int, Figures>> bySetSize;
    Figures all;
    for (const std::string& path : paths) {
        int setSize = 0;
        const Figures figures = Measure(path, options, &setSize);
        ++bySetSize[setSize].first;
        bySetSize[setSize].second.Add(figures);
        all.Add(figures);
    }
    for (const auto& [setSize, layouts] : bySetSize)
        PrintRow(std::to_string(layouts.first) + " in sets of " + std::to_string(setSize), layouts.second,
                 options.budgetMs);
    PrintRow("all " + std::to_string(paths.size()), all, options.budgetMs);
}

const ToolCommand figuresCommand(
    "solve-figures", "solve-figures (FILE... | --corpus DIR) [--problems A-B] [--budget-ms T] [--report-ms T]",
    [](const std::vector<std::string>& raw) {
        ToolArgs args(raw);
        Options options;
        const std::string range = args.TakeOption("--problems", "1-100");
        const std::string corpus = args.TakeOption("--corpus");
        options.budgetMs = args.TakeIntOption("--budget-ms", 1000);
        options.reportMs = args.TakeIntOption("--report-ms", 0);
        std::tie(options.first, options.last) = ParseRange(range);
        if (options.first < 1)
            throw std::invalid_argument("--problems starts at 1 or more, not '" + range + "'");
        const std::vector<std::string> layouts = args.TakeRest();
        if (layouts.empty() == corpus.empty())
            throw std::invalid_argument("give layout FILEs or --corpus DIR");
        PrintHeader();
        if (!corpus.empty()) {
            PrintCorpus(corpus, options);
            return 0;
        }
        Figures all;
        for (const std::string& path : layouts) {
            const Figures figures = Measure(path, options);
            PrintRow("`" + std::filesystem::path(path).stem().string() + "`", figures, options.budgetMs);
            all.Add(figures);
        }
        if (layouts.size() > 1)
            PrintRow("all " + std::to_string(layouts.size()), all, options.budgetMs);
        return 0;
    });

} // namespace
