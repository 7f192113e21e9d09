#pragma once

#include "PaiStructure.h"
#include "WayBack.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Judges game positions on a worker thread of its own, so that input never
// waits for a search. A newer position cancels the search of an older one;
// each result is announced with the number of the position it belongs to,
// by a signal that reaches the window thread through its event queue.
class PositionWatcher : public QObject {
    Q_OBJECT

public:
    explicit PositionWatcher(PositionJudge judge);
    ~PositionWatcher() override;
    PositionWatcher(const PositionWatcher&) = delete;
    PositionWatcher& operator=(const PositionWatcher&) = delete;

    // Judges the position (a copy of the board and its history); any older
    // search is cancelled and its result never announced.
    void Watch(quint64 position, const PaiStructure& board, const std::vector<int32_t>& history, int32_t removed);
    // Cancels any search.
    void Forget();
    // Blocks until no search is pending or running, for tests and shutdown;
    // a result is then already in the window thread's queue.
    void WaitUntilIdle();

signals:
    void Judged(quint64 position, WayBack way);

private:
    struct Job {
        quint64 position = 0;
        PaiStructure board;
        std::vector<int32_t> history;
        int32_t removed = 0;
    };

    void Run();

    PositionJudge judge_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<Job> pending_;
    std::atomic<bool> cancel_{false};
    bool busy_ = false;
    bool stop_ = false;
    std::thread worker_;
};
