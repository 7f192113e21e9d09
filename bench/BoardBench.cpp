#include "FileConv.h"
#include "PaiStructure.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

const std::string kClassic = std::string(TOVRIK_SOURCE_DIR) + "/data/template/classic.tvm";

// Three full layers of 16 x 10 tiles and a top of 8 x 4: 512 positions.
std::string LargeLayout()
{
    std::vector<uint16_t> positions;
    for (int layer = 0; layer < 3; ++layer)
        for (int row = 0; row < 20; row += 2)
            for (int column = 0; column < 32; column += 2)
                positions.push_back(static_cast<uint16_t>(layer * 2048 + column * 32 + row));
    for (int row = 6; row < 14; row += 2)
        for (int column = 8; column < 24; column += 2)
            positions.push_back(static_cast<uint16_t>(3 * 2048 + column * 32 + row));
    std::vector<uint8_t> counts(41, 0);
    for (int k = 0; k < 32; ++k)
        counts[k] = 16;
    FileConv file;
    file.PutPositionArray(positions);
    file.PutPaiArray(counts);
    file.PutPlaytime(2);
    file.PutMessage(u"512");
    const std::string path = (std::filesystem::temp_directory_path() / "tovrik-bench-512.tvm").string();
    file.SaveFile(path);
    return path;
}

void DealProblems(benchmark::State& state, const std::string& path)
{
    PaiStructure board;
    int32_t problem = 1;
    int64_t failed = 0;
    for (auto _ : state) {
        try {
            board.CreateTable(path, problem, 0);
        } catch (const std::exception&) {
            ++failed;
        }
        problem = problem % 100000 + 1;
        benchmark::DoNotOptimize(board.MaxID());
    }
    state.counters["failed"] = benchmark::Counter(static_cast<double>(failed), benchmark::Counter::kAvgIterations);
}

void BM_CreateTableClassic(benchmark::State& state) { DealProblems(state, kClassic); }
BENCHMARK(BM_CreateTableClassic)->Unit(benchmark::kMicrosecond);

void BM_CreateTable512(benchmark::State& state)
{
    static const std::string path = LargeLayout();
    DealProblems(state, path);
}
BENCHMARK(BM_CreateTable512)->Unit(benchmark::kMicrosecond);

void BM_CalcSelectableClassic(benchmark::State& state)
{
    PaiStructure board;
    board.CreateTable(kClassic, 1, 0);
    for (auto _ : state) {
        board.CalcSelectable();
        benchmark::DoNotOptimize(board.Hint());
    }
}
BENCHMARK(BM_CalcSelectableClassic)->Unit(benchmark::kMicrosecond);

} // namespace
