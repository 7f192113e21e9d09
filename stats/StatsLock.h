#pragma once

#include <string>

// An exclusive hold on a lock file (PATH.lock beside the statistics file)
// while one instance re-reads, merges and rewrites the statistics. The hold is
// an advisory lock on the open file, which the system drops when its process
// ends, so a lock left by a crash is never stale. Taking it never waits: a
// lock held by another instance is reported by Held() and the caller tries
// again later.
class StatsLock {
public:
    // Raises NumberedError when the lock file cannot be made or is not a regular file.
    explicit StatsLock(const std::string& lockPath);
    ~StatsLock();
    StatsLock(const StatsLock&) = delete;
    StatsLock& operator=(const StatsLock&) = delete;

    bool Held() const { return held_; }

private:
    int fd_ = -1;
    bool held_ = false;
};
