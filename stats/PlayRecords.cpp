#include "PlayRecords.h"

#include "AtomicFile.h"
#include "NumberedError.h"
#include "RegularFile.h"
#include "SetAside.h"
#include "StatsLock.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <utility>

namespace {

int32_t SaturatedSum(int64_t count, int64_t added)
{
    return static_cast<int32_t>(std::min<int64_t>(count + added, std::numeric_limits<int32_t>::max()));
}

} // namespace

PlayRecords::PlayRecords(std::string path, RecordsText::OwnCheck isOwn)
    : path_(std::move(path)), isOwn_(std::move(isOwn))
{
    RecordsText file = ReadFile();
    records_ = std::move(file.records);
    // Damaged lines and an old version are put right at once; a held lock leaves that to the next write.
    if (!file.rejected.empty() || file.oldVersion) {
        try {
            Flush();
        } catch (const NumberedError&) {
            // The good records are read; the file stays as it is until a write succeeds.
        }
    }
}

PlayRecords::~PlayRecords()
{
    if (!Pending())
        return;
    try {
        Flush();
    } catch (const NumberedError&) {
        // Nothing left to tell: the caller heard of the failed write already.
    }
}

RecordsText PlayRecords::ReadFile()
{
    std::vector<uint8_t> bytes;
    try {
        bytes = ReadRegularFile(path_, kMaxFileBytes, "the statistics file");
    } catch (const NumberedError& error) {
        if (error.number() == NumberedError::FileNotFound)
            return {};
        // A FIFO, a folder or a huge file cannot be statistics; moved aside, it stops blocking every write.
        const std::string aside = MoveAside(path_);
        if (aside.empty())
            throw;
        setAsidePath_ = aside;
        return {};
    }
    return RecordsText::Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), isOwn_);
}

LayoutRecord PlayRecords::Of(const std::string& key) const
{
    const auto found = records_.find(key);
    LayoutRecord record = found == records_.end() ? LayoutRecord{} : found->second;
    if (const auto change = pending_.find(key); change != pending_.end())
        Apply(change->second, record);
    return record;
}

void PlayRecords::GameStarted(const std::string& key, int32_t problem)
{
    if (!RecordsText::StorableKey(key))
        return;
    Change& change = pending_[key];
    ++change.started;
    change.lastProblem = problem;
    Flush();
}

bool PlayRecords::GameWon(const std::string& key, int64_t ms)
{
    if (!RecordsText::StorableKey(key))
        return false;
    const LayoutRecord before = Of(key);
    Change& change = pending_[key];
    ++change.won;
    const bool timed = ms != LayoutRecord::kNoTime;
    if (timed && (change.bestMs == LayoutRecord::kNoTime || ms < change.bestMs))
        change.bestMs = ms;
    Flush();
    return timed && (before.bestMs == LayoutRecord::kNoTime || ms < before.bestMs);
}

void PlayRecords::Apply(const Change& change, LayoutRecord& record)
{
    record.won = SaturatedSum(record.won, change.won);
    record.started = std::max(SaturatedSum(record.started, change.started), record.won);
    if (change.bestMs != LayoutRecord::kNoTime && (record.bestMs == LayoutRecord::kNoTime || change.bestMs < record.bestMs))
        record.bestMs = change.bestMs;
    if (change.lastProblem)
        record.lastProblem = *change.lastProblem;
}

bool PlayRecords::Flush()
{
    CreateFolders(std::filesystem::path(path_).parent_path().string());
    const StatsLock lock(path_ + ".lock");
    if (!lock.Held())
        return false;
    RecordsText file = ReadFile();
    if (!file.rejected.empty()) {
        const std::string aside = KeepAside(path_, file.rejected);
        // Lines that cannot be kept aside are not dropped either.
        if (aside.empty())
            throw NumberedError(NumberedError::PathFileAccessError, "cannot keep the damaged lines of " + path_ + " aside");
        setAsidePath_ = aside;
    }
    for (const auto& [key, change] : pending_)
        Apply(change, file.records[key]);
    if (!pending_.empty() || !file.rejected.empty() || file.oldVersion)
        WriteFileAtomically(path_, RecordsText::Format(file.records));
    records_ = std::move(file.records);
    pending_.clear();
    return true;
}
