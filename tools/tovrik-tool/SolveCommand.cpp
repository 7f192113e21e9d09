// tovrik-tool solve: whether a game position can still be cleared, and how.
#include "PlayedDeal.h"
#include "ToolCommand.h"

#include "PaiCtrl.h"
#include "PaiStructure.h"
#include "Solver.h"

#include <cstdio>
#include <iostream>
#include <limits>
#include <sstream>
#include <stdexcept>

namespace {

constexpr int kDefaultBudgetMs = 10000;

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    return parts;
}

std::vector<std::vector<int32_t>> ParseSets(const std::string& text)
{
    std::vector<std::vector<int32_t>> sets;
    for (const std::string& set : Split(text, ';')) {
        sets.emplace_back();
        for (const std::string& slot : Split(set, ','))
            sets.back().push_back(ParseInt(slot, "slot number in --play"));
    }
    return sets;
}

std::string Joined(const std::vector<int32_t>& slotNumbers, const char* separator)
{
    std::string text;
    for (size_t k = 0; k < slotNumbers.size(); ++k)
        text += (k == 0 ? "" : separator) + std::to_string(slotNumbers[k]);
    return text;
}

// Why the set cannot be taken now, or "" when it is a legal move.
std::string WhyNotLegal(const PaiStructure& board, const std::vector<int32_t>& set)
{
    if (static_cast<int32_t>(set.size()) != board.Once())
        return "it holds " + std::to_string(set.size()) + " tiles, not " + std::to_string(board.Once());
    for (size_t k = 0; k < set.size(); ++k) {
        const int32_t slot = set[k];
        const std::string name = "slot " + std::to_string(slot);
        if (slot < 0 || slot >= board.MaxID())
            return name + " is not a tile of this layout";
        if (!board.Validity(slot))
            return name + " was already taken";
        if (!board.Selectable(slot))
            return name + " is not free";
        if (board.Group(slot) != board.Group(set[0]))
            return name + " does not match slot " + std::to_string(set[0]);
        for (size_t j = 0; j < k; ++j) {
            if (set[j] == slot)
                return name + " is named twice";
        }
    }
    return {};
}

} // namespace

void PlaySets(PaiCtrl& ctrl, const std::string& text)
{
    const std::vector<std::vector<int32_t>> sets = ParseSets(text);
    for (size_t k = 0; k < sets.size(); ++k) {
        const std::string why = WhyNotLegal(ctrl.Board(), sets[k]);
        if (!why.empty())
            throw std::invalid_argument("set " + std::to_string(k + 1) + " of --play (" + Joined(sets[k], ",")
                                        + ") is not a legal move: " + why);
        for (const int32_t slot : sets[k])
            ctrl.ClickPai(slot);
    }
}

namespace {

void PrintJson(const SolverResult& result)
{
    std::string sets;
    for (size_t k = 0; k < result.sets.size(); ++k)
        sets += (k == 0 ? "[" : ",[") + Joined(result.sets[k], ",") + "]";
    char ms[32];
    std::snprintf(ms, sizeof ms, "%.3f", result.ms);
    std::cout << "{\"result\":\"" << VerdictName(result.verdict) << "\",\"sets\":[" << sets
              << "],\"nodes\":" << result.nodes << ",\"ms\":" << ms << "}\n";
}

void PrintText(const SolverResult& result)
{
    std::string sets;
    for (size_t k = 0; k < result.sets.size(); ++k)
        sets += (k == 0 ? "" : ";") + Joined(result.sets[k], ",");
    char ms[32];
    std::snprintf(ms, sizeof ms, "%.3f", result.ms);
    std::cout << "result: " << VerdictName(result.verdict) << '\n';
    if (result.verdict == SolverResult::Verdict::Winnable)
        std::cout << "sets: " << sets << '\n';
    std::cout << "nodes: " << result.nodes << '\n' << "ms: " << ms << '\n';
}

int SolveGame(const std::vector<std::string>& arguments)
{
    ToolArgs args(arguments);
    const std::string savedGame = args.TakeOption("--save");
    const std::string play = args.TakeOption("--play");
    const int budgetMs = args.TakeIntOption("--budget-ms", kDefaultBudgetMs);
    const bool json = args.TakeFlag("--json");
    if (budgetMs < 0)
        throw std::invalid_argument("--budget-ms must not be negative");

    PaiCtrl ctrl;
    if (savedGame.empty()) {
        PlayDeal(ctrl, args);
    } else {
        for (const char* dealOption : {"--problem", "--facedown", "--moves"}) {
            if (!args.TakeOption(dealOption).empty())
                throw std::invalid_argument(std::string(dealOption) + " deals a game; --save loads one instead");
        }
        ctrl.LoadGameFrom(savedGame);
    }
    args.ExpectEnd();
    PlaySets(ctrl, play);

    SolveBudget budget;
    budget.nodeLimit = std::numeric_limits<uint64_t>::max();
    budget.timeLimitMs = budgetMs;
    const SolverResult result = Solve(ctrl.Board(), budget);
    if (json)
        PrintJson(result);
    else
        PrintText(result);
    return 0;
}

const ToolCommand solveCommand("solve",
                               "solve (FILE --problem N [--facedown M] [--moves K] | --save PATH) [--play SETS] "
                               "[--budget-ms T] [--json]",
                               SolveGame);

} // namespace
