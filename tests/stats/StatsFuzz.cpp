// libFuzzer entry: any bytes as stats.txt. The text reader keeps every good
// record, and what it writes reads back the same; the file is then loaded and
// merged into as the game does.
#include "NumberedError.h"
#include "PlayRecords.h"

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::string& FuzzFolder()
{
    static const std::string folder = [] {
        const std::string path = std::filesystem::temp_directory_path() / ("tovrik-stats-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const RecordsText parsed = RecordsText::Parse(text, [](const std::string& name) { return name.size() % 2 == 0; });
    const RecordsText again = RecordsText::Parse(RecordsText::Format(parsed.records), {});
    if (again.records.size() != parsed.records.size() || !again.rejected.empty())
        std::abort();

    const std::string folder = FuzzFolder();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/stats.txt";
    std::ofstream(path, std::ios::binary) << text;
    try {
        PlayRecords records(path);
        const std::string key = parsed.records.empty() ? "classic.tvm" : parsed.records.begin()->first;
        const LayoutRecord before = records.Of(key);
        records.GameStarted(key, 1);
        records.GameWon(key, 1000);
        const LayoutRecord after = PlayRecords(path).Of(key);
        if (after.started < before.started || after.won < before.won || after.won > after.started)
            std::abort();
    } catch (const NumberedError&) {
    }
    std::filesystem::remove_all(folder);
    return 0;
}
