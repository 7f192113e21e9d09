// The sprite layer's pixel loops against memcpy of the same bytes. Each
// benchmark reports vs_memcpy: its time per copy over memcpy's, measured in
// the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "PixelSurface.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int32_t BoardWidth = 655;
constexpr int32_t BoardHeight = 557;
constexpr int32_t ScreenWidth = 792;
constexpr int32_t ScreenHeight = 566;
constexpr uint32_t Magenta = 0xFF00FF;

// A board-sized picture about one third transparent, in runs as tile edges
// and gaps between tiles give.
PixelSurface TileLikeSource()
{
    PixelSurface source(BoardWidth, BoardHeight);
    uint32_t seed = 12345;
    for (int32_t y = 0; y < BoardHeight; ++y) {
        for (int32_t x = 0; x < BoardWidth; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const bool gap = (x / 7 + y / 11) % 3 == 0;
            source.Pixels()[y * source.Stride() + x] = gap ? Magenta : (seed >> 8);
        }
    }
    return source;
}

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Seconds per memcpy of bytes, averaged over iterations copies.
double MemcpySeconds(size_t bytes, benchmark::IterationCount iterations)
{
    std::vector<unsigned char> from(bytes, 1);
    std::vector<unsigned char> to(bytes);
    const auto start = Clock::now();
    for (benchmark::IterationCount i = 0; i < iterations; ++i) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    return SecondsSince(start) / double(iterations);
}

// Runs operation once per iteration, timing it, and adds the ratio to memcpy.
template <typename Operation>
void MeasureAgainstMemcpy(benchmark::State& state, size_t bytes, Operation operation)
{
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        operation();
        benchmark::ClobberMemory();
        const double seconds = SecondsSince(start);
        state.SetIterationTime(seconds);
        total += seconds;
    }
    const double perCopy = total / double(state.iterations());
    state.counters["vs_memcpy"] = perCopy / MemcpySeconds(bytes, state.iterations());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}

void KeyedBoardCopy(benchmark::State& state)
{
    const PixelSurface source = TileLikeSource();
    PixelSurface target(BoardWidth, BoardHeight);
    const ColorKey key{Magenta, Magenta};
    MeasureAgainstMemcpy(state, size_t(BoardWidth) * BoardHeight * sizeof(uint32_t), [&] {
        target.Copy(source.View(), {0, 0, BoardWidth, BoardHeight}, 0, 0, &key);
    });
}

void RangeKeyedBoardCopy(benchmark::State& state)
{
    const PixelSurface source = TileLikeSource();
    PixelSurface target(BoardWidth, BoardHeight);
    const ColorKey key{0xF000F0, Magenta};
    MeasureAgainstMemcpy(state, size_t(BoardWidth) * BoardHeight * sizeof(uint32_t), [&] {
        target.Copy(source.View(), {0, 0, BoardWidth, BoardHeight}, 0, 0, &key);
    });
}

void PlainScreenCopy(benchmark::State& state)
{
    PixelSurface source(ScreenWidth, ScreenHeight);
    source.Fill({0, 0, ScreenWidth, ScreenHeight}, 0x3399FF);
    PixelSurface target(ScreenWidth, ScreenHeight);
    MeasureAgainstMemcpy(state, size_t(ScreenWidth) * ScreenHeight * sizeof(uint32_t), [&] {
        target.Copy(source.View(), {0, 0, ScreenWidth, ScreenHeight}, 0, 0, nullptr);
    });
}

void ScreenFill(benchmark::State& state)
{
    PixelSurface target(ScreenWidth, ScreenHeight);
    MeasureAgainstMemcpy(state, size_t(ScreenWidth) * ScreenHeight * sizeof(uint32_t), [&] {
        target.Fill({0, 0, ScreenWidth, ScreenHeight}, 0x3399FF);
    });
}

void StretchedBoardCopy(benchmark::State& state)
{
    const PixelSurface source = TileLikeSource();
    PixelSurface target(ScreenWidth, ScreenHeight);
    MeasureAgainstMemcpy(state, size_t(ScreenWidth) * ScreenHeight * sizeof(uint32_t), [&] {
        target.StretchCopy(source.View(), {0, 0, BoardWidth, BoardHeight},
                           {0, 0, ScreenWidth, ScreenHeight}, nullptr);
    });
}

}  // namespace

BENCHMARK(KeyedBoardCopy)->UseManualTime();
BENCHMARK(RangeKeyedBoardCopy)->UseManualTime();
BENCHMARK(PlainScreenCopy)->UseManualTime();
BENCHMARK(ScreenFill)->UseManualTime();
BENCHMARK(StretchedBoardCopy)->UseManualTime();
