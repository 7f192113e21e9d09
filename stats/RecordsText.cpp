#include "RecordsText.h"

#include <charconv>
#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr std::string_view kHeader1 = "tovrik-stats 1";
constexpr std::string_view kHeader2 = "tovrik-stats 2";
constexpr std::string_view kOwnPrefix = "own/";
constexpr std::string_view kShipped = "shipped";
constexpr std::string_view kOwn = "own";

bool StorableName(std::string_view name)
{
    return !name.empty() && name.find_first_of("\r\n/") == std::string_view::npos;
}

// The next space-separated field, taken off the front of line.
std::string_view TakeField(std::string_view& line)
{
    const size_t space = line.find(' ');
    const std::string_view field = line.substr(0, space);
    line.remove_prefix(space == std::string_view::npos ? line.size() : space + 1);
    return field;
}

template <typename Number>
std::optional<Number> TakeNumber(std::string_view& line, Number lowest)
{
    const std::string_view field = TakeField(line);
    Number value{};
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || error != std::errc() || end != field.data() + field.size() || value < lowest)
        return std::nullopt;
    return value;
}

// One record line, or nothing when the line is not one.
std::optional<std::pair<std::string, LayoutRecord>> ParseLine(std::string_view line, bool version1,
                                                              const RecordsText::OwnCheck& isOwn)
{
    LayoutRecord record;
    const auto started = TakeNumber<int32_t>(line, 0);
    const auto won = TakeNumber<int32_t>(line, 0);
    const auto best = TakeNumber<int64_t>(line, LayoutRecord::kNoTime);
    const auto problem = TakeNumber<int32_t>(line, 0);
    if (!started || !won || !best || !problem || *won > *started)
        return std::nullopt;
    record = {*started, *won, *best, *problem};
    bool own = false;
    if (version1) {
        own = StorableName(line) && isOwn && isOwn(std::string(line));
    } else {
        const std::string_view origin = TakeField(line);
        if (origin != kShipped && origin != kOwn)
            return std::nullopt;
        own = origin == kOwn;
    }
    if (!StorableName(line))
        return std::nullopt;
    const std::string name(line);
    return std::make_pair(own ? RecordsText::OwnKey(name) : name, record);
}

} // namespace

RecordsText RecordsText::Parse(std::string_view text, const OwnCheck& isOwn)
{
    RecordsText parsed;
    bool first = true;
    bool version1 = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view whole = text.substr(0, end == std::string_view::npos ? text.size() : end + 1);
        text.remove_prefix(whole.size());
        const std::string_view line = whole.substr(0, whole.size() - (whole.back() == '\n' ? 1 : 0));
        if (first) {
            first = false;
            version1 = line == kHeader1;
            parsed.oldVersion = version1;
            if (version1 || line == kHeader2)
                continue;
        }
        auto entry = ParseLine(line, version1, isOwn);
        if (!entry || !parsed.records.insert(std::move(*entry)).second) {
            parsed.rejected += whole;
            if (whole.back() != '\n')
                parsed.rejected += '\n';
        }
    }
    return parsed;
}

std::string RecordsText::Format(const RecordMap& records)
{
    std::string out = std::string(kHeader2) + '\n';
    for (const auto& [key, record] : records) {
        const bool own = key.starts_with(kOwnPrefix);
        out += std::to_string(record.started) + ' ' + std::to_string(record.won) + ' ' + std::to_string(record.bestMs)
            + ' ' + std::to_string(record.lastProblem) + ' ' + std::string(own ? kOwn : kShipped) + ' '
            + key.substr(own ? kOwnPrefix.size() : 0) + '\n';
    }
    return out;
}

std::string RecordsText::OwnKey(const std::string& name)
{
    return std::string(kOwnPrefix) + name;
}

bool RecordsText::StorableKey(const std::string& key)
{
    return StorableName(key.starts_with(kOwnPrefix) ? std::string_view(key).substr(kOwnPrefix.size()) : key);
}
