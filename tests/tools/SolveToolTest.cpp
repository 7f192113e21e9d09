#include "ToolTestSupport.h"

#include "PaiStructure.h"
#include "RandomPlay.h"
#include "Solver.h"

#include <filesystem>
#include <regex>

namespace {

using namespace tooltest;

const std::string kClassic = std::string(TOVRIK_SOURCE_DIR) + "/data/template/classic.tvm";

std::string SetsText(const std::vector<std::vector<int32_t>>& sets)
{
    std::string text;
    for (const auto& set : sets) {
        text += text.empty() ? "" : ";";
        for (size_t k = 0; k < set.size(); ++k)
            text += (k == 0 ? "" : ",") + std::to_string(set[k]);
    }
    return text;
}

// The "sets" of the tool's JSON answer.
std::vector<std::vector<int32_t>> JsonSets(const std::string& json)
{
    std::vector<std::vector<int32_t>> sets;
    const std::string list = json.substr(json.find("\"sets\":[") + 8);
    const std::regex set(R"(\[([0-9,]+)\])");
    for (auto it = std::sregex_iterator(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(list.find("]]") + 2), set);
         it != std::sregex_iterator(); ++it) {
        sets.emplace_back();
        std::istringstream in((*it)[1].str());
        for (std::string slot; std::getline(in, slot, ',');)
            sets.back().push_back(std::stoi(slot));
    }
    return sets;
}

// Plays the sets on the board; false at the first one that is not a legal move.
bool PlayLegally(PaiStructure& board, const std::vector<std::vector<int32_t>>& sets)
{
    for (const auto& set : sets) {
        if (static_cast<int32_t>(set.size()) != board.Once())
            return false;
        for (const int32_t slot : set) {
            if (!board.Validity(slot) || !board.Selectable(slot) || board.Group(slot) != board.Group(set[0]))
                return false;
        }
        for (const int32_t slot : set)
            board.PickedPai(slot);
        board.CalcSelectable();
    }
    return true;
}

TEST(SolveTool, WinnableDealGivesSetsThatClearTheBoard)
{
    const ToolRun run = Tool("solve " + kClassic + " --problem 2 --moves 3 --play '" + "' --json");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(std::regex_match(run.out, std::regex(R"(\{"result":"winnable","sets":\[.*\],"nodes":[0-9]+,"ms":[0-9.]+\}\n)")))
        << run.out;
    PaiStructure board;
    board.CreateTable(kClassic, 2, 0);
    std::vector<std::vector<int32_t>> answer;
    for (int k = 0; k < 3; ++k)
        answer.push_back({board.RemovalOrder()[2 * k], board.RemovalOrder()[2 * k + 1]});
    ASSERT_TRUE(PlayLegally(board, answer));
    const std::vector<std::vector<int32_t>> sets = JsonSets(run.out);
    EXPECT_EQ(sets.size(), 69u);
    EXPECT_TRUE(PlayLegally(board, sets));
    for (int32_t slot = 0; slot < board.MaxID(); ++slot)
        EXPECT_FALSE(board.Validity(slot)) << slot;

    const ToolRun text = Tool("solve " + kClassic + " --problem 2 --moves 3");
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out.rfind("result: winnable\nsets: ", 0), 0u) << text.out;
}

TEST(SolveTool, PlayedSetsThatSpoilTheDealGiveUnwinnable)
{
    for (uint32_t seed = 1; seed < 200; ++seed) {
        PaiStructure board;
        board.CreateTable(kClassic, 3, 0);
        const auto played = PlayRandomSets(board, 36, seed);
        if (Solve(board).verdict != SolverResult::Verdict::Unwinnable)
            continue;
        const ToolRun run = Tool("solve " + kClassic + " --problem 3 --play '" + SetsText(played) + "' --json");
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out.rfind(R"({"result":"unwinnable","sets":[],"nodes":)", 0), 0u) << run.out;
        return;
    }
    FAIL() << "no random play of the deal spoiled it";
}

TEST(SolveTool, IllegalSetsAndBadOptionsAreNamed)
{
    const ToolRun notFree = Tool("solve " + kClassic + " --problem 2 --play '1,2'");
    EXPECT_NE(notFree.status, 0);
    EXPECT_NE(notFree.err.find("set 1 of --play (1,2) is not a legal move: slot 1 is not free"), std::string::npos)
        << notFree.err;
    PaiStructure board;
    board.CreateTable(kClassic, 2, 0);
    const std::vector<int32_t>& answer = board.RemovalOrder();
    const std::string first = std::to_string(answer[0]) + "," + std::to_string(answer[1]);
    const ToolRun twice = Tool("solve " + kClassic + " --problem 2 --play '" + first + ";" + first + "'");
    EXPECT_NE(twice.err.find("set 2 of --play (" + first + ") is not a legal move: slot " + std::to_string(answer[0])
                             + " was already taken"),
              std::string::npos)
        << twice.err;
    const ToolRun odd = Tool("solve " + kClassic + " --problem 2 --play '" + std::to_string(answer[0]) + "'");
    EXPECT_NE(odd.err.find("holds 1 tiles, not 2"), std::string::npos) << odd.err;
    const ToolRun word = Tool("solve " + kClassic + " --problem 2 --play 'a,b'");
    EXPECT_NE(word.err.find("slot number in --play is not a whole number"), std::string::npos) << word.err;
    EXPECT_NE(Tool("solve " + kClassic).status, 0);
    EXPECT_NE(Tool("solve --save " + TempPath("none.dat")).status, 0);
}

TEST(SolveTool, SavedGamesAndBudgets)
{
    const std::string saved = TempPath("save.dat");
    ASSERT_EQ(Tool("save " + kClassic + " --problem 4 --moves 10 --out " + saved).status, 0);
    const ToolRun run = Tool("solve --save " + saved + " --json");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind(R"({"result":"winnable","sets":[[)", 0), 0u) << run.out;
    EXPECT_EQ(JsonSets(run.out).size(), 62u);
    const ToolRun mixed = Tool("solve --save " + saved + " --problem 4");
    EXPECT_NE(mixed.status, 0);
    EXPECT_NE(mixed.err.find("--problem deals a game; --save loads one instead"), std::string::npos) << mixed.err;

    const ToolRun hurried = Tool("solve " + kClassic + " --problem 4 --budget-ms 0 --json");
    EXPECT_EQ(hurried.status, 0) << hurried.err;
    EXPECT_EQ(hurried.out.rfind(R"({"result":"unknown","sets":[],"nodes":)", 0), 0u) << hurried.out;
}

TEST(SolveTool, FiguresTablePerLayout)
{
    const std::string beginner = std::string(TOVRIK_SOURCE_DIR) + "/data/template/beginner.tvm";
    const ToolRun run = Tool("solve-figures " + beginner + " " + kClassic + " --problems 1-2");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(std::regex_search(run.out, std::regex(R"(\n\| `beginner` \| 8 \| [0-9.]+ % \| [0-9]+ \| [0-9]+ \| )")))
        << run.out;
    EXPECT_NE(run.out.find("\n| `classic` | 8 | "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n| all 2 | 16 | "), std::string::npos) << run.out;
    EXPECT_NE(Tool("solve-figures --problems 1-2").status, 0);
}

// Random layouts of each set size that deal, the same for the same seed,
// and measured together by set size.
TEST(SolveTool, CorpusOfRandomLayoutsAndItsFigures)
{
    const std::string folder = TempPath("corpus");
    const std::string again = TempPath("corpus-again");
    ASSERT_EQ(Tool("corpus " + folder + " --layouts 3 --seed 5").status, 0);
    ASSERT_EQ(Tool("corpus " + again + " --layouts 3 --seed 5").status, 0);
    for (const char* name : {"random-001.tvm", "random-002.tvm", "random-003.tvm"}) {
        const std::string path = folder + "/" + name;
        EXPECT_EQ(ReadFile(path), ReadFile(again + "/" + name)) << name;
        PaiStructure board;
        board.CreateTable(path, 2, 0);
        EXPECT_GE(board.MaxID(), 72) << name;
        EXPECT_LE(board.MaxID(), 512) << name;
    }
    const ToolRun run = Tool("solve-figures --corpus " + folder + " --problems 1-1 --budget-ms 200");
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* row : {"\n| 1 in sets of 2 | 4 | ", "\n| 1 in sets of 3 | 4 | ", "\n| 1 in sets of 4 | 4 | ",
                            "\n| all 3 | 12 | "})
        EXPECT_NE(run.out.find(row), std::string::npos) << row << run.out;
    EXPECT_NE(Tool("solve-figures " + kClassic + " --corpus " + folder).status, 0);
    std::filesystem::remove_all(folder);
    std::filesystem::remove_all(again);
}

} // namespace
