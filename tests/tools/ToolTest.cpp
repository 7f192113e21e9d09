#include "LayoutImport.h"
#include "PaiStructure.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

using namespace tooltest;

const std::string kClassic = std::string(TOVRIK_SOURCE_DIR) + "/data/template/classic.tvm";
const std::string kClassicSource = std::string(TOVRIK_SOURCE_DIR) + "/tools/layouts/classic.layout";

// The integers of a line separated by single spaces; empty when anything else is in it.
std::vector<int> Integers(const std::string& line)
{
    std::vector<int> values;
    std::istringstream in(line);
    for (int value; in >> value;)
        values.push_back(value);
    std::string rebuilt;
    for (const int value : values)
        rebuilt += (rebuilt.empty() ? "" : " ") + std::to_string(value);
    return rebuilt == line ? values : std::vector<int>{};
}

// The comma-separated integers of the JSON array after key.
std::vector<int> JsonIntegers(const std::string& json, const std::string& key)
{
    const size_t start = json.find("\"" + key + "\":[");
    if (start == std::string::npos)
        return {};
    const size_t open = json.find('[', start) + 1;
    std::string items = json.substr(open, json.find(']', open) - open);
    std::replace(items.begin(), items.end(), ',', ' ');
    return Integers(items);
}

TEST(Tool, DealPrintsOneLinePerSlotAndRepeatsItselfExceptForProblemZero)
{
    const ToolRun first = Tool("deal " + kClassic + " --problem 42 --facedown 10");
    const ToolRun again = Tool("deal " + kClassic + " --problem 42 --facedown 10");
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, again.out);

    std::istringstream lines(first.out);
    int slots = 0, faceDown = 0, free = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind('#', 0) == 0)
            continue;
        const std::vector<int> fields = Integers(line);
        ASSERT_EQ(fields.size(), 8u) << line;
        EXPECT_EQ(fields[0], slots++);
        EXPECT_TRUE(fields[1] < 8 && fields[2] < 36 && fields[3] < 22 && fields[4] < 54) << line;
        EXPECT_TRUE(fields[6] == 0 || fields[6] == 2) << line;
        EXPECT_TRUE(fields[7] == 0 || fields[7] == 1) << line;
        faceDown += fields[6] == 2;
        free += fields[7];
    }
    EXPECT_EQ(slots, 144);
    EXPECT_EQ(faceDown, 10);
    EXPECT_GE(free, 2);

    const ToolRun fresh = Tool("deal " + kClassic + " --problem 0");
    const ToolRun freshAgain = Tool("deal " + kClassic + " --problem 0");
    ASSERT_EQ(fresh.status, 0);
    EXPECT_NE(fresh.out, freshAgain.out);
}

TEST(Tool, AnswerWritesTheFileTheGameWouldWrite)
{
    const std::string out = TempPath("answer.txt");
    const ToolRun run = Tool("answer " + kClassic + " --problem 9 --facedown 1 --out " + out);
    ASSERT_EQ(run.status, 0) << run.err;
    PaiStructure board;
    board.CreateTable(kClassic, 9, 1, TempPath("expected.txt"));
    EXPECT_EQ(ReadFile(out), ReadFile(TempPath("expected.txt")));
    EXPECT_EQ(ReadFile(out).size(), 144u * 22u);
}

TEST(Tool, LayoutInfoInTextAndJson)
{
    const ToolRun json = Tool("layout info --json " + kClassic);
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out.rfind("{\"positions\":[", 0), 0u) << json.out;
    EXPECT_EQ(JsonIntegers(json.out, "positions").size(), 144u);
    const std::vector<int> counts = JsonIntegers(json.out, "counts");
    ASSERT_EQ(counts.size(), 41u);
    EXPECT_EQ(counts[33], 4);
    EXPECT_EQ(counts[34], 0);
    const std::string tail = "],\"setSize\":2,\"message\":\"伝統的な配置です。\\u000d\\u000a１４４枚\",\"wellFormed\":true}\n";
    ASSERT_GT(json.out.size(), tail.size());
    EXPECT_EQ(json.out.substr(json.out.size() - tail.size()), tail);

    const ToolRun text = Tool("layout info " + kClassic);
    ASSERT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("positions: 144"), std::string::npos);
    EXPECT_NE(text.out.find("38:4/spread0"), std::string::npos);
    EXPECT_NE(text.out.find("well formed: yes"), std::string::npos);
}

TEST(Tool, LayoutBuildAndDumpRoundTripAndReportIllFormedLayouts)
{
    const std::string built = TempPath("tvm");
    ASSERT_EQ(Tool("layout build " + kClassicSource + " " + built).status, 0);
    EXPECT_EQ(ReadFile(built), ReadFile(kClassic));
    const ToolRun dump = Tool("layout dump " + built);
    ASSERT_EQ(dump.status, 0);
    EXPECT_EQ(dump.out, ReadFile(kClassicSource));

    // One tile class short: readable, but not well formed.
    std::string source = ReadFile(kClassicSource);
    source.replace(source.find("count 0-33 4"), 12, "count 0-32 4");
    const std::string shortSource = TempPath("layout");
    std::ofstream(shortSource, std::ios::binary) << source;
    ASSERT_EQ(Tool("layout build " + shortSource + " " + built).status, 0);
    const ToolRun info = Tool("layout info --json " + built);
    EXPECT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("\"wellFormed\":false"), std::string::npos);
    EXPECT_NE(Tool("layout info " + built).out.find("add up to 140"), std::string::npos);
    const ToolRun deal = Tool("deal " + built + " --problem 1");
    EXPECT_TRUE(OneLineError(deal)) << deal.err;
    EXPECT_NE(deal.err.find("add up to 140"), std::string::npos);
}

TEST(Tool, ErrorsAreOneLineAndNonZero)
{
    const std::string broken = TempPath("tvm");
    std::ofstream(broken, std::ios::binary) << "QQQ\r\n";
    const std::string badSource = TempPath("layout");
    std::ofstream(badSource, std::ios::binary) << "message x\nsetsize two\n";
    for (const std::string& arguments :
         {"layout info " + broken, "layout info " + TempPath("missing.tvm"), "layout dump " + broken,
          "layout build " + badSource + " " + TempPath("out.tvm"), "deal " + kClassic,
          "deal " + kClassic + " --problem x", "deal " + broken + " --problem 1", "answer " + kClassic + " --problem 1",
          "check " + kClassic + " --problems 5", "layout frobnicate " + kClassic}) {
        const ToolRun run = Tool(arguments);
        EXPECT_TRUE(OneLineError(run)) << arguments << ": " << run.status << " " << run.err;
    }
    EXPECT_NE(Tool("layout build " + badSource + " " + TempPath("out.tvm")).err.find("line 2"), std::string::npos);
}

TEST(Tool, CheckReportsSuccessesFailuresAndTimes)
{
    const ToolRun run = Tool("check " + kClassic + " --problems 1-20");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("problems 1-20: 20 succeeded, 0 failed\n"), std::string::npos) << run.out;
    double median = -1, worst = -1;
    const size_t timing = run.out.find("median ");
    ASSERT_NE(timing, std::string::npos) << run.out;
    ASSERT_EQ(std::sscanf(run.out.c_str() + timing, "median %lf ms, worst %lf ms per deal", &median, &worst), 2);
    EXPECT_GT(median, 0.0);
    EXPECT_GE(worst, median);
}

TEST(Tool, LayoutImportWritesOneFilePerMapOrNothing)
{
    const std::string samples = std::string(TOVRIK_SOURCE_DIR) + "/tests/layoutimport/samples/";
    const std::string folder = TempPath("dir");
    std::filesystem::remove_all(folder);

    const ToolRun ambiguous = Tool("layout import " + samples + "maps.xml --out " + folder + "/one.tvm");
    EXPECT_TRUE(OneLineError(ambiguous)) << ambiguous.err;
    EXPECT_NE(ambiguous.err.find("\"Gate & Bridge\", \"Twin Towers\""), std::string::npos) << ambiguous.err;
    EXPECT_FALSE(std::filesystem::exists(folder));

    ASSERT_EQ(Tool("layout import " + samples + "maps.xml --dir " + folder).status, 0);
    // Without a destination the maps go to the player's own layout folder.
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const std::string savedDataHome = dataHome ? dataHome : "";
    setenv("XDG_DATA_HOME", (folder + "/data").c_str(), 1);
    const ToolRun byDefault = Tool("layout import " + samples + "maps.xml");
    dataHome ? setenv("XDG_DATA_HOME", savedDataHome.c_str(), 1) : unsetenv("XDG_DATA_HOME");
    ASSERT_EQ(byDefault.status, 0) << byDefault.err;
    EXPECT_EQ(ReadFile(folder + "/data/tovrik/template/twin-towers.tvm"), ReadFile(folder + "/twin-towers.tvm"));
    ASSERT_EQ(Tool("layout import " + samples + "maps.xml --map 'Twin Towers' --out " + folder + "/towers.tvm").status, 0);
    EXPECT_EQ(ReadFile(folder + "/towers.tvm"), ReadFile(folder + "/twin-towers.tvm"));
    const ToolRun info = Tool("layout info --json " + folder + "/gate-bridge.tvm");
    EXPECT_NE(info.out.find("\"message\":\"Gate & Bridge\""), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\"wellFormed\":true"), std::string::npos) << info.out;

    // Refusals name the reason and write nothing.
    const std::string odd = TempPath("xml");
    std::ofstream(odd, std::ios::binary) << R"(<mahjongg><map name="a"><row y="0" left="0" right="2"/></map></mahjongg>)";
    const std::string big = TempPath("layout");
    std::ofstream(big, std::ios::binary) << std::string(kMaxImportBytes + 1, '.');
    for (const auto& [file, reason] : {std::pair{odd, "odd number of tiles"}, std::pair{big, "larger than 1024 KiB"},
                                       std::pair{folder, "not a regular file"}}) {
        const std::string out = TempPath("refused.tvm");
        const ToolRun run = Tool("layout import " + file + " --out " + out);
        EXPECT_TRUE(OneLineError(run)) << run.err;
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

std::string Maps(const std::vector<std::string>& names)
{
    std::string xml = "<mahjongg>";
    for (const std::string& name : names)
        xml += "<map name=\"" + name + "\"><row y=\"0\" left=\"0\" right=\"1\"/></map>";
    return xml + "</mahjongg>";
}

// Each way an import replaced, shadowed or half-wrote the player's layouts, reproduced.
TEST(Tool, LayoutImportNeverReplacesNorShadowsAndWritesAllOrNothing)
{
    const std::string folder = TempPath("dir");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder + "/data");
    const std::string input = TempPath("maps.xml");
    const auto importing = [&](const std::vector<std::string>& names, const std::string& options) {
        std::ofstream(input, std::ios::binary) << Maps(names);
        return Tool("layout import " + input + " " + options);
    };
    const std::string dir = "--dir " + folder + "/out";
    std::vector<std::string> nine;
    for (int i = 1; i <= 9; ++i)
        nine.push_back("m" + std::to_string(i));

    ASSERT_EQ(importing({"First"}, dir).status, 0);
    const std::string first = ReadFile(folder + "/out/first.tvm");
    ToolRun run = importing({"First", "First"}, dir);
    EXPECT_NE(run.err.find("first.tvm\" exists already; --force replaces it"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder + "/out/first-2.tvm")) << "nothing of a refused import is written";
    ASSERT_EQ(importing({"FIRST", "Second"}, dir + " --force").status, 0);
    EXPECT_NE(ReadFile(folder + "/out/first.tvm"), first);

    std::filesystem::create_directory(folder + "/out/m5.tvm");
    run = importing(nine, dir);
    EXPECT_TRUE(OneLineError(run)) << run.err;
    EXPECT_NE(run.err.find("m5.tvm\": Is a directory"), std::string::npos) << run.err;
    run = importing(nine, dir + " --force");
    EXPECT_NE(run.err.find("m5.tvm\": Is a directory"), std::string::npos) << run.err;
    for (const auto& entry : std::filesystem::directory_iterator(folder + "/out"))
        EXPECT_TRUE(entry.path().filename() == "first.tvm" || entry.path().filename() == "second.tvm"
                    || entry.path().filename() == "m5.tvm") << entry.path();

    const std::vector<std::string> same(256, "a");
    ASSERT_EQ(importing(same, dir).status, 0);
    EXPECT_TRUE(std::filesystem::exists(folder + "/out/a-256.tvm"));
    run = importing(std::vector<std::string>(257, "a"), dir);
    EXPECT_NE(run.err.find("at most 256"), std::string::npos) << run.err;

    // Into the player's folder a shipped name gets a suffix; the shipped layout stays what the game deals.
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const std::string savedDataHome = dataHome ? dataHome : "";
    setenv("XDG_DATA_HOME", (folder + "/data").c_str(), 1);
    run = importing({"Classic"}, "");
    std::ofstream(folder + "/data/blocked") << "x";
    setenv("XDG_DATA_HOME", (folder + "/data/blocked").c_str(), 1);
    const ToolRun blocked = importing({"Mine"}, "");
    dataHome ? setenv("XDG_DATA_HOME", savedDataHome.c_str(), 1) : unsetenv("XDG_DATA_HOME");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(folder + "/data/tovrik/template/classic-imported.tvm"));
    EXPECT_FALSE(std::filesystem::exists(folder + "/data/tovrik/template/classic.tvm"));
    EXPECT_NE(blocked.err.find("cannot create folder " + folder + "/data/blocked/tovrik/template: Not a directory"),
              std::string::npos) << blocked.err;
}

TEST(Tool, RefusesProblemsTheGameRefusesAndEveryFileThatIsNotRegular)
{
    const std::string out = " --out " + TempPath("out");
    const std::string range = "a problem number from 0 to 100000";
    const std::string fifo = TempPath("fifo"), folder = TempPath("folder");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(folder);
    std::filesystem::remove(fifo);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string notRegular = "is not a regular file";
    const struct {
        std::string arguments;
        std::string fault;
    } cases[] = {
        {"check " + kClassic + " --problems 2147483647-2147483647", range},
        {"check " + kClassic + " --problems 99999-100001", range},
        {"deal " + kClassic + " --problem 100001", range},
        {"deal " + kClassic + " --problem -1", range},
        {"answer " + kClassic + " --problem 100001" + out, range},
        {"render " + kClassic + " --problem 2147483647" + out, range},
        {"save " + kClassic + " --problem -2147483648" + out, range},
        {"layout info " + fifo, notRegular},
        {"layout dump " + folder, notRegular},
        {"layout build " + fifo + " " + TempPath("out.tvm"), notRegular},
        {"deal " + fifo + " --problem 1", notRegular},
        {"save-info " + fifo, notRegular},
        {"sound unpack " + fifo + " " + folder, notRegular},
        {"sound pack " + TempPath("out.dat") + " " + fifo, notRegular},
        {"render " + kClassic + " --problem 1 --wallpaper " + fifo + out, notRegular},
        {"render " + kClassic + " --problem 1 --wallpaper " + folder + out, notRegular},
    };
    for (const auto& refused : cases) {
        const ToolRun run = Tool(refused.arguments);
        EXPECT_TRUE(OneLineError(run)) << refused.arguments << ": " << run.err;
        EXPECT_NE(run.err.find(refused.fault), std::string::npos) << refused.arguments << ": " << run.err;
    }
    const ToolRun highest = Tool("check " + kClassic + " --problems 100000-100000");
    EXPECT_NE(highest.out.find("problems 100000-100000: 1 succeeded"), std::string::npos) << highest.err;
}

} // namespace
