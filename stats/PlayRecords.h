#pragma once

#include <cstdint>
#include <map>
#include <string>

// What is known of the games played on one layout.
struct LayoutRecord {
    int32_t started = 0;
    int32_t won = 0;
    int64_t bestMs = kNoTime;
    int32_t lastProblem = 0;

    static constexpr int64_t kNoTime = -1;
};

// The play statistics, per layout file name, kept in a small text file. A file
// that cannot be read as statistics is set aside (renamed with ".damaged"
// appended) and the statistics start afresh. Every change is written at once;
// a failed write raises a NumberedError and keeps the counts in memory.
class PlayRecords {
public:
    explicit PlayRecords(std::string path);

    // The layout's record; an empty one for a layout never played.
    LayoutRecord Of(const std::string& layout) const;
    void GameStarted(const std::string& layout, int32_t problem);
    // Counts a win; true when ms is the layout's new best time. A win of
    // LayoutRecord::kNoTime counts without a time.
    bool GameWon(const std::string& layout, int64_t ms);

    // Where a damaged file was moved at start, or empty.
    const std::string& SetAsidePath() const { return setAsidePath_; }

private:
    void Load();
    void SetAside();
    void Save() const;

    std::string path_;
    std::map<std::string, LayoutRecord> records_;
    std::string setAsidePath_;
};
