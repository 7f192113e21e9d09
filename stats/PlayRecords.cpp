#include "PlayRecords.h"

#include "AtomicFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>
#include <utility>

namespace {

constexpr const char* kHeader = "tovrik-stats 1";
constexpr const char* kSetAsideSuffix = ".damaged";

// A name the one-line format can hold.
bool StorableName(const std::string& layout)
{
    return !layout.empty() && layout.find_first_of("\r\n") == std::string::npos;
}

// "started won bestMs lastProblem name", or nothing when the line is not one.
std::optional<std::pair<std::string, LayoutRecord>> ParseLine(const std::string& line)
{
    std::istringstream fields(line);
    LayoutRecord record;
    fields >> record.started >> record.won >> record.bestMs >> record.lastProblem;
    if (!fields || fields.get() != ' ')
        return std::nullopt;
    std::string name;
    std::getline(fields, name);
    const bool sound = record.started >= 0 && record.won >= 0 && record.won <= record.started &&
                       record.bestMs >= LayoutRecord::kNoTime && record.lastProblem >= 0;
    if (!sound || !StorableName(name))
        return std::nullopt;
    return std::make_pair(std::move(name), record);
}

} // namespace

PlayRecords::PlayRecords(std::string path) : path_(std::move(path))
{
    Load();
}

void PlayRecords::Load()
{
    std::error_code error;
    if (!std::filesystem::exists(path_, error))
        return;
    std::ifstream in(path_, std::ios::binary);
    std::string line;
    bool damaged = !in || !std::getline(in, line) || line != kHeader;
    while (!damaged && std::getline(in, line)) {
        auto entry = ParseLine(line);
        damaged = !entry || !records_.insert(std::move(*entry)).second;
    }
    damaged = damaged || in.bad();
    if (damaged) {
        records_.clear();
        SetAside();
    }
}

void PlayRecords::SetAside()
{
    const std::string target = path_ + kSetAsideSuffix;
    std::error_code error;
    std::filesystem::rename(path_, target, error);
    // A file that cannot be moved is overwritten by the next save instead.
    if (!error)
        setAsidePath_ = target;
}

LayoutRecord PlayRecords::Of(const std::string& layout) const
{
    const auto found = records_.find(layout);
    return found == records_.end() ? LayoutRecord{} : found->second;
}

void PlayRecords::GameStarted(const std::string& layout, int32_t problem)
{
    if (!StorableName(layout))
        return;
    LayoutRecord& record = records_[layout];
    ++record.started;
    record.lastProblem = problem;
    Save();
}

bool PlayRecords::GameWon(const std::string& layout, int64_t ms)
{
    if (!StorableName(layout))
        return false;
    LayoutRecord& record = records_[layout];
    ++record.won;
    record.started = std::max(record.started, record.won);
    const bool best = ms != LayoutRecord::kNoTime && (record.bestMs == LayoutRecord::kNoTime || ms < record.bestMs);
    if (best)
        record.bestMs = ms;
    Save();
    return best;
}

void PlayRecords::Save() const
{
    std::ostringstream out;
    out << kHeader << '\n';
    for (const auto& [name, record] : records_)
        out << record.started << ' ' << record.won << ' ' << record.bestMs << ' ' << record.lastProblem << ' ' << name
            << '\n';
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), error);
    WriteFileAtomically(path_, out.str());
}
