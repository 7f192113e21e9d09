#include "PaiStructure.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string TempPath(const std::string& suffix)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(TOVRIK_TEST_TMP) + "/" + info->test_suite_name() + "." + info->name() + "." + suffix;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ToolRun Tool(const std::string& arguments)
{
    const std::string errPath = TempPath("stderr");
    const std::string command = std::string(TOVRIK_RUNTIME_DIR) + "/tovrik-tool " + arguments + " 2>" + errPath;
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadFile(errPath);
    return run;
}

const std::string kClassic = std::string(TOVRIK_SOURCE_DIR) + "/data/template/classic.tvm";
const std::string kClassicSource = std::string(TOVRIK_SOURCE_DIR) + "/tools/layouts/classic.layout";

bool OneLineError(const ToolRun& run)
{
    return run.status != 0 && !run.err.empty() && run.err.find('\n') == run.err.size() - 1;
}

TEST(Tool, DealPrintsOneLinePerSlotAndRepeatsItselfExceptForProblemZero)
{
    const ToolRun first = Tool("deal " + kClassic + " --problem 42 --facedown 10");
    const ToolRun again = Tool("deal " + kClassic + " --problem 42 --facedown 10");
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, again.out);

    std::istringstream lines(first.out);
    const std::regex slotLine(R"((\d+) (\d) (\d+) (\d+) (\d+) (\d+) ([012]) ([01]))");
    int slots = 0, faceDown = 0, free = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind('#', 0) == 0)
            continue;
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, slotLine)) << line;
        EXPECT_EQ(std::stoi(match[1]), slots++);
        faceDown += match[7] == "2";
        free += match[8] == "1";
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
    const std::regex shape(R"(\{"positions":\[(\d+,){143}\d+\],"counts":\[(\d+,){40}\d+\],)"
                           R"("setSize":2,"message":"伝統的な配置です。１４４枚","wellFormed":true\}\n)");
    EXPECT_TRUE(std::regex_match(json.out, shape)) << json.out;

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
    EXPECT_TRUE(std::regex_search(run.out, std::regex(R"(problems 1-20: 20 succeeded, 0 failed\n)"))) << run.out;
    EXPECT_TRUE(std::regex_search(run.out, std::regex(R"(median \d+\.\d{3} ms, worst \d+\.\d{3} ms per deal)")))
        << run.out;
}

} // namespace
