#include "BinaryFile.h"
#include "SoundArchive.h"
#include "SoundEffects.h"
#include "WaveReader.h"
#include "WaveWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const std::string CommittedArchive = std::string(TOVRIK_SOURCE_DIR) + "/data/sound.dat";

fs::path FreshFolder(const std::string& name)
{
    const fs::path folder = fs::path(TOVRIK_TEST_TMP) / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

} // namespace

TEST(SoundDataTest, CommittedArchiveIsWhatTheGeneratorAndPackingMake)
{
    const fs::path folder = FreshFolder("data-sound-pack");
    const auto effects = SoundEffects::Make();
    SoundArchive archive;
    archive.BufferInitialize(SoundEffects::Count);
    for (int i = 0; i < SoundEffects::Count; ++i) {
        const std::string path = (folder / SoundEffects::FileName(i)).string();
        WaveWriter::Write(path, SoundEffects::WaveImage(effects[i]));
        archive.SoundRead(i, path);
    }
    archive.SoundCompress((folder / "sound.dat").string());
    EXPECT_EQ(ReadBinaryFile((folder / "sound.dat").string()), ReadBinaryFile(CommittedArchive))
        << "data/sound.dat is out of date: rebuild it with the art target";
}

TEST(SoundDataTest, UnpackingTheArchiveGivesSevenWavesOfTheRightFormats)
{
    const fs::path folder = FreshFolder("data-sound-unpack");
    const std::string command = std::string("\"") + TOVRIK_RUNTIME_DIR + "/tovrik-tool\" sound unpack \""
                                + CommittedArchive + "\" \"" + folder.string() + "\" > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 7);
    // The effects' own test checks the formats of these images.
    const auto effects = SoundEffects::Make();
    for (int i = 0; i < 7; ++i) {
        const auto image = ReadBinaryFile((folder / ("sound" + std::to_string(i) + ".wav")).string());
        EXPECT_EQ(ReadWave(image).bitsPerSample, i == 0 || i == 4 ? 16 : 8) << i;
        EXPECT_EQ(image, SoundEffects::WaveImage(effects[i])) << i;
    }
}
