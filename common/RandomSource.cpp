#include "RandomSource.h"

#include <chrono>
#include <cmath>

namespace {

constexpr uint64_t kGolden = 0x9E3779B97F4A7C15ull;

uint64_t Scramble(uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

} // namespace

void RandomSource::Reset(int16_t value)
{
    state_ = Scramble(static_cast<uint64_t>(static_cast<uint16_t>(value)) + kGolden);
}

void RandomSource::Seed(int32_t number)
{
    Mix(static_cast<uint64_t>(static_cast<uint32_t>(number)));
}

void RandomSource::SeedFromClock()
{
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    static uint64_t calls = 0;
    Mix(static_cast<uint64_t>(ticks) ^ (++calls * kGolden));
}

float RandomSource::Next()
{
    return static_cast<float>(NextBits() >> 40) * 0x1p-24f;
}

int32_t RandomSource::Draw(int32_t m)
{
    return static_cast<int32_t>(std::floor(static_cast<double>(Next()) * (static_cast<double>(m) + 1.0)));
}

RandomSource& RandomSource::Shared()
{
    static RandomSource shared;
    return shared;
}

uint64_t RandomSource::NextBits()
{
    state_ += kGolden;
    return Scramble(state_);
}

void RandomSource::Mix(uint64_t value)
{
    state_ = Scramble(state_ ^ Scramble(value + kGolden));
}
