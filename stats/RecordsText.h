#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

// What is known of the games played on one layout.
struct LayoutRecord {
    int32_t started = 0;
    int32_t won = 0;
    int64_t bestMs = kNoTime;
    int32_t lastProblem = 0;

    static constexpr int64_t kNoTime = -1;
};

// Records by key: a shipped layout's file name, or "own/NAME" for a layout of
// the player's own folder, so that the two never mix.
using RecordMap = std::map<std::string, LayoutRecord>;

// The statistics file's text. Version 2, "tovrik-stats 2", holds one line per
// layout, "started won bestMs lastProblem ORIGIN NAME" with ORIGIN "shipped"
// or "own". Version 1 lines lack the origin; isOwn tells which folder such a
// name stood for when it was recorded.
struct RecordsText {
    RecordMap records;
    // The lines that are not records (bad, duplicate, or a bad header), each
    // with its line break, kept aside rather than lost.
    std::string rejected;
    bool oldVersion = false;

    using OwnCheck = std::function<bool(const std::string& name)>;

    static RecordsText Parse(std::string_view text, const OwnCheck& isOwn);
    static std::string Format(const RecordMap& records);

    // The key of a name in the player's folder.
    static std::string OwnKey(const std::string& name);
    // A key the one-line format can hold.
    static bool StorableKey(const std::string& key);
};
