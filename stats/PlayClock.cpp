#include "PlayClock.h"

#include <chrono>
#include <utility>

PlayClock::PlayClock(Source source) : source_(std::move(source)) {}

int64_t PlayClock::SteadyMilliseconds()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}

void PlayClock::Reset()
{
    banked_ = 0;
    runningSince_ = source_();
}

void PlayClock::SetRunning(bool running)
{
    if (running == running_)
        return;
    const int64_t now = source_();
    if (running_)
        banked_ += now - runningSince_;
    runningSince_ = now;
    running_ = running;
}

int64_t PlayClock::ElapsedMs() const
{
    return running_ ? banked_ + source_() - runningSince_ : banked_;
}
