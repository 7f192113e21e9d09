#include "SoundTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sys/wait.h>

namespace {

struct ToolRun {
    int exitCode;
    std::string errors;
};

ToolRun RunTool(const std::filesystem::path& folder, const std::string& arguments)
{
    const auto errorFile = folder / "stderr.txt";
    const std::string command = std::string("'") + TOVRIK_RUNTIME_DIR + "/tovrik-tool' sound " + arguments +
                                " >/dev/null 2>'" + errorFile.string() + "'";
    const int status = std::system(command.c_str());
    const Bytes errors = ReadFile(errorFile);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(errors.begin(), errors.end())};
}

std::string Quoted(const std::filesystem::path& path)
{
    return "'" + path.string() + "'";
}

} // namespace

TEST(SoundTool, PackThenUnpackGivesTheWavesBack)
{
    const auto folder = FreshFolder("tool-roundtrip");
    std::vector<Bytes> waves;
    std::string wavePaths;
    for (int index = 0; index < 7; ++index) {
        waves.push_back(MakeWave(index == 0 || index == 4 ? 16 : 8, 200 + index, index + 2));
        const auto path = folder / ("effect" + std::to_string(index) + ".wav");
        WriteFile(path, waves.back());
        wavePaths += " " + Quoted(path);
    }

    ASSERT_EQ(RunTool(folder, "pack " + Quoted(folder / "sound.dat") + wavePaths).exitCode, 0);
    ASSERT_EQ(RunTool(folder, "unpack " + Quoted(folder / "sound.dat") + " " + Quoted(folder / "out")).exitCode, 0);
    for (int index = 0; index < 7; ++index)
        EXPECT_EQ(ReadFile(folder / "out" / ("sound" + std::to_string(index) + ".wav")), waves[index]) << index;
    EXPECT_FALSE(std::filesystem::exists(folder / "out" / "sound7.wav"));
}

TEST(SoundTool, FailuresExitNonZeroWithOneLine)
{
    const auto folder = FreshFolder("tool-failures");
    WriteFile(folder / "damaged.dat", {40, 0, 0, 0, 1, 2, 3, 1});
    const std::string cases[] = {
        "pack " + Quoted(folder / "out.dat") + " " + Quoted(folder / "absent.wav"),
        "pack " + Quoted(folder / "out.dat"),
        "unpack " + Quoted(folder / "damaged.dat") + " " + Quoted(folder / "out"),
        "unpack " + Quoted(folder / "absent.dat") + " " + Quoted(folder / "out"),
        "shuffle",
    };
    for (const std::string& arguments : cases) {
        const ToolRun run = RunTool(folder, arguments);
        EXPECT_NE(run.exitCode, 0) << arguments;
        EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << arguments << ": " << run.errors;
        EXPECT_EQ(run.errors.find('\r'), std::string::npos) << arguments;
    }
    EXPECT_NE(RunTool(folder, cases[2]).errors.find("[DeCompress] "), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder / "out"));
}
