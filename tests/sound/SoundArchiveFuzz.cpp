// libFuzzer entry: any bytes as sound.dat, decoded as the game decodes it, and
// each sound taken apart as the sound player takes a WAVE file apart.
#include "MessageBox.h"
#include "SoundArchive.h"
#include "WaveFile.h"

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("tovrik-fuzz-" + std::to_string(getpid()) + ".dat")).string();
    static const MessageHandler silent =
        SetMessageHandler([](const MessageRequest&) { return MessageResult::Ok; });
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    SoundArchive archive;
    const int32_t count = archive.SoundDeCompress(path);
    std::vector<uint8_t> image;
    for (int32_t index = 0; index < count; ++index) {
        archive.GetBinaryData(index, image);
        WaveSamples(image);
    }
    return 0;
}
