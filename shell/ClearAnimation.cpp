#include "ClearAnimation.h"

#include "GuardedWork.h"

#include <algorithm>

ClearAnimation::ClearAnimation(std::function<void(int32_t)> paintFrame) : paintFrame(std::move(paintFrame))
{
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &ClearAnimation::Step);
}

void ClearAnimation::Start()
{
    running = true;
    next = 0;
    dueUs = 0;
    clock.start();
    Step();
}

// Each frame is due a fixed interval after the one before, measured from the
// start, so a late frame does not delay the rest.
void ClearAnimation::Step()
{
    if (next > kLastFrame) {
        Stop();
        return;
    }
    bool painted = false;
    RunGuarded([&] {
        paintFrame(next);
        painted = true;
    });
    if (!painted) {
        Stop();
        return;
    }
    dueUs += kFrameIntervalUs;
    if (next == kLastStandingFrame)
        dueUs += kStandingWaitUs;
    ++next;
    const int64_t waitUs = dueUs - clock.nsecsElapsed() / 1000;
    timer.start(static_cast<int>(std::max<int64_t>(0, (waitUs + 999) / 1000)));
}

void ClearAnimation::Stop()
{
    timer.stop();
    running = false;
    emit Finished();
}
