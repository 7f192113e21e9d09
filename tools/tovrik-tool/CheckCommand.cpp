// tovrik-tool check: deals a range of problems and reports success and timing.
#include "ToolCommand.h"

#include "PaiStructure.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <stdexcept>

namespace {

const ToolCommand checkCommand("check", "check FILE [--problems A-B]", [](const std::vector<std::string>& raw) {
    ToolArgs args(raw);
    const auto [first, last] = ParseRange(args.TakeOption("--problems", "1-1000"));
    const std::string path = args.TakeLayout("FILE");
    args.ExpectEnd();

    PaiStructure board;
    std::vector<double> millis;
    int failed = 0;
    std::string firstFailure;
    for (int problem = first; problem <= last; ++problem) {
        const auto start = std::chrono::steady_clock::now();
        try {
            board.CreateTable(path, problem, 0);
        } catch (const std::exception& error) {
            if (failed++ == 0)
                firstFailure = "problem " + std::to_string(problem) + ": " + error.what();
        }
        millis.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(millis.begin(), millis.end());
    const int total = last - first + 1;
    char timing[96];
    std::snprintf(timing, sizeof timing, "median %.3f ms, worst %.3f ms per deal", millis[millis.size() / 2],
                  millis.back());
    std::cout << "problems " << first << '-' << last << ": " << total - failed << " succeeded, " << failed
              << " failed\n"
              << timing << '\n';
    if (failed > 0)
        std::cout << "first failure: " << firstFailure << '\n';
    if (failed == total)
        throw std::runtime_error("no problem of the range could be dealt");
    return 0;
});

} // namespace
