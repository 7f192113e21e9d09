// libFuzzer entry: any bytes as a foreign layout file (text before the first
// NUL byte) with a .desktop entry (the rest); every layout that imports must
// be well formed, survive the layout file's round trip and be dealt or refused cleanly.
#include "FileConv.h"
#include "ImportError.h"
#include "LayoutImport.h"
#include "NumberedError.h"
#include "PaiStructure.h"

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

void CheckImported(const FileConv& file, const std::string& path)
{
    if (!PaiStructure::LayoutFault(file.GetPositionArray(), file.GetPaiArray(), file.GetPlaytime()).empty())
        std::abort();
    FileConv reread;
    reread.LoadText(file.SaveText());
    if (reread.GetPositionArray() != file.GetPositionArray() || reread.GetPaiArray() != file.GetPaiArray())
        std::abort();
    file.SaveFile(path);
    PaiStructure board;
    try {
        board.CreateTable(path, 1, 0);
    } catch (const NumberedError&) {
        // A layout can be well formed and still leave the play-out stuck.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("tovrik-import-fuzz-" + std::to_string(getpid()) + ".tvm")).string();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const size_t split = bytes.find('\0');
    const std::string text = bytes.substr(0, split);
    const std::string desktop = split == std::string::npos ? std::string() : bytes.substr(split + 1);
    std::vector<ForeignLayout> layouts;
    try {
        layouts = ParseForeignLayouts(text, "fuzz", desktop);
    } catch (const ImportError&) {
        return 0;
    }
    for (const ForeignLayout& layout : layouts) {
        FileConv file;
        try {
            ConvertToLayoutFile(layout, file);
        } catch (const ImportError&) {
            continue;
        }
        CheckImported(file, path);
        ImportedFileName(layout.fileStem, "fuzz");
    }
    return 0;
}
