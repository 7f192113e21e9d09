// libFuzzer entry: any bytes as a layout file line, a layout source, and a deal.
#include "FileConv.h"
#include "LayoutSource.h"
#include "NumberedError.h"
#include "PaiStructure.h"

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("tovrik-fuzz-" + std::to_string(getpid()) + ".tvm")).string();
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        LayoutSource::Parse(text).Format();
    } catch (const NumberedError&) {
    }
    FileConv file;
    try {
        file.LoadText(text);
    } catch (const NumberedError&) {
        return 0;
    }
    std::ofstream(path, std::ios::binary) << text << "\r\n";
    PaiStructure board;
    try {
        board.CreateTable(path, static_cast<int32_t>(size) + 1, static_cast<int32_t>(size % 5));
    } catch (const NumberedError&) {
    }
    return 0;
}
