#include "PositionWatcher.h"

#include <utility>

PositionWatcher::PositionWatcher(PositionJudge judge) : judge_(std::move(judge))
{
    qRegisterMetaType<WayBack>("WayBack");
    worker_ = std::thread([this] { Run(); });
}

PositionWatcher::~PositionWatcher()
{
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
        cancel_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

void PositionWatcher::Watch(quint64 position, const PaiStructure& board, const std::vector<int32_t>& history,
                            int32_t removed)
{
    Job job{position, board, history, removed};
    // The copy never runs the window's event pump from the worker.
    job.board.SetEventPump({});
    {
        const std::lock_guard lock(mutex_);
        pending_ = std::move(job);
        cancel_ = true;
    }
    wake_.notify_all();
}

void PositionWatcher::Forget()
{
    const std::lock_guard lock(mutex_);
    pending_.reset();
    cancel_ = true;
}

void PositionWatcher::WaitUntilIdle()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !pending_ && !busy_; });
}

void PositionWatcher::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || pending_; });
        if (stop_)
            return;
        Job job = std::move(*pending_);
        pending_.reset();
        cancel_ = false;
        busy_ = true;
        lock.unlock();
        const int32_t once = job.board.Once();
        const WayBack way = FindWayBack(std::move(job.board), job.history, job.removed, once, judge_, cancel_);
        if (!cancel_)
            emit Judged(job.position, way);
        lock.lock();
        busy_ = false;
        idle_.notify_all();
    }
}
