#pragma once

#include <cstdint>
#include <functional>

// The time a game has been played: it advances only while running.
class PlayClock {
public:
    // Milliseconds of a monotonic clock.
    using Source = std::function<int64_t()>;

    explicit PlayClock(Source source = SteadyMilliseconds);

    // Back to zero; running or not stays as it is.
    void Reset();
    void SetRunning(bool running);
    bool Running() const { return running_; }
    int64_t ElapsedMs() const;

    static int64_t SteadyMilliseconds();

private:
    Source source_;
    int64_t banked_ = 0;
    int64_t runningSince_ = 0;
    bool running_ = false;
};
