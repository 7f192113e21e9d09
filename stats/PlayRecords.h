#pragma once

#include "RecordsText.h"

#include <cstdint>
#include <optional>
#include <string>

// The play statistics, per layout (see RecordsText for the keys), kept in a
// small text file shared by every running instance. Each change is merged
// into the file at once: under StatsLock the file is read again, this game's
// change is applied to its layout's record only and the result is written
// atomically, so two instances never lose each other's records. Counts stop
// at their largest value instead of overflowing.
//
// Lines that are not records are kept aside in a new PATH.damaged-TIME file
// and dropped from the file; the good records stay. A file that cannot be
// read at all (a FIFO, a folder, far too large) is moved aside whole.
//
// A failed write raises a NumberedError; a lock held by another instance
// leaves the change pending. Pending changes stay counted in memory and are
// merged by the next write, by Flush, or when the object goes.
class PlayRecords {
public:
    // isOwn says which names of a version 1 file stood for the player's own layouts.
    explicit PlayRecords(std::string path, RecordsText::OwnCheck isOwn = {});
    ~PlayRecords();
    PlayRecords(const PlayRecords&) = delete;
    PlayRecords& operator=(const PlayRecords&) = delete;

    // The layout's record; an empty one for a layout never played.
    LayoutRecord Of(const std::string& key) const;
    void GameStarted(const std::string& key, int32_t problem);
    // Counts a win; true when ms is the layout's new best time. A win of
    // LayoutRecord::kNoTime counts without a time.
    bool GameWon(const std::string& key, int64_t ms);

    // Merges what is pending; false while another instance holds the lock.
    bool Flush();
    bool Pending() const { return !pending_.empty(); }

    // Where damaged lines or a damaged file were last kept aside, or empty.
    const std::string& SetAsidePath() const { return setAsidePath_; }

    // Far beyond any statistics the game writes.
    static constexpr uint64_t kMaxFileBytes = uint64_t{4} << 20;

private:
    // This instance's changes to one record, not yet in the file.
    struct Change {
        int64_t started = 0;
        int64_t won = 0;
        int64_t bestMs = LayoutRecord::kNoTime;
        std::optional<int32_t> lastProblem;
    };

    RecordsText ReadFile();
    static void Apply(const Change& change, LayoutRecord& record);

    std::string path_;
    RecordsText::OwnCheck isOwn_;
    RecordMap records_;
    std::map<std::string, Change> pending_;
    std::string setAsidePath_;
};
