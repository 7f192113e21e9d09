#include "SoundTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sys/wait.h>

namespace {

// Runs tovrik-tool sound with arguments; the exit code and standard error.
std::pair<int, std::string> RunSoundTool(const std::filesystem::path& folder, const std::string& arguments)
{
    const auto errorFile = folder / "stderr.txt";
    const std::string command = std::string(TOVRIK_RUNTIME_DIR) + "/tovrik-tool sound " + arguments +
                                " >/dev/null 2>" + errorFile.string();
    const int status = std::system(command.c_str());
    const Bytes errors = ReadFile(errorFile);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(errors.begin(), errors.end())};
}

} // namespace

TEST(SoundTool, PackThenUnpackGivesTheWavesBack)
{
    const auto folder = FreshFolder("tool-roundtrip");
    std::string wavePaths;
    for (int index = 0; index < 7; ++index) {
        const auto path = folder / ("effect" + std::to_string(index) + ".wav");
        WriteFile(path, MakeWave(index == 0 || index == 4 ? 16 : 8, 200 + index, index + 2));
        wavePaths += " " + path.string();
    }
    ASSERT_EQ(RunSoundTool(folder, "pack " + (folder / "sound.dat").string() + wavePaths).first, 0);
    ASSERT_EQ(RunSoundTool(folder, "unpack " + (folder / "sound.dat").string() + " " + (folder / "out").string()).first, 0);
    for (int index = 0; index < 7; ++index) {
        const std::string number = std::to_string(index);
        EXPECT_EQ(ReadFile(folder / "out" / ("sound" + number + ".wav")), ReadFile(folder / ("effect" + number + ".wav")));
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "out" / "sound7.wav"));
}

TEST(SoundTool, FailuresExitNonZeroWithOneLine)
{
    const auto folder = FreshFolder("tool-failures");
    WriteFile(folder / "damaged.dat", {40, 0, 0, 0, 1, 2, 3, 1});
    const std::string out = (folder / "out").string();
    for (const std::string& arguments : {"pack " + out + " " + (folder / "absent.wav").string(), "pack " + out,
                                        "unpack " + (folder / "damaged.dat").string() + " " + out, std::string("mix")}) {
        const auto [exitCode, errors] = RunSoundTool(folder, arguments);
        EXPECT_NE(exitCode, 0) << arguments;
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << arguments << ": " << errors;
        EXPECT_EQ(errors.find('\r'), std::string::npos) << arguments;
    }
    EXPECT_NE(RunSoundTool(folder, "unpack " + (folder / "damaged.dat").string() + " " + out).second.find("[DeCompress] "),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder / "out"));
}
