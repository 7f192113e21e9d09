// tovrik-tool render, save and save-info.
#include "ToolTestSupport.h"

#include <QImage>

namespace {

using namespace tooltest;

const std::string kLayouts = std::string(TOVRIK_SOURCE_DIR) + "/data/template/";

TEST(GameCommands, RenderDrawsTheBoardAsPlayedSoFar)
{
    std::vector<QImage> boards;
    for (const std::string moves : {"0", "5"}) {
        const std::string out = TempPath("moves" + moves + ".png");
        const ToolRun run = Tool("render " + kLayouts + "classic.tvm --problem 3 --moves " + moves + " --out " + out);
        ASSERT_EQ(run.status, 0) << run.err;
        boards.emplace_back(QString::fromStdString(out));
        EXPECT_EQ(boards.back().size(), QSize(655, 557)) << "--moves " << moves;
    }
    int changed = 0;
    for (int y = 0; y < 557; ++y)
        for (int x = 0; x < 655; ++x)
            changed += boards[0].pixel(x, y) != boards[1].pixel(x, y);
    EXPECT_GT(changed, 10 * 43 * 57 / 2) << "ten tiles are gone";
    EXPECT_TRUE(OneLineError(Tool("render " + kLayouts + "classic.tvm --problem 3 --moves 73 --out " + TempPath("png"))));
}

TEST(GameCommands, SaveWritesTheGamesFileWhichSaveInfoReadsBack)
{
    struct Case { std::string layout; int moves, tiles, once; };
    for (const Case& game : {Case{"classic.tvm", 0, 144, 2}, Case{"classic.tvm", 7, 144, 2},
                             Case{"trio.tvm", 5, 180, 3}, Case{"quartet.tvm", 4, 220, 4}}) {
        SCOPED_TRACE(game.layout + " after " + std::to_string(game.moves));
        const std::string out = TempPath(game.layout + ".dat");
        ASSERT_EQ(Tool("save " + kLayouts + game.layout + " --problem 9 --facedown 1 --moves " +
                       std::to_string(game.moves) + " --out " + out).status, 0);
        EXPECT_EQ(ReadFile(out).size(), 512u * 94 + 14 + 8u * game.tiles);
        const ToolRun info = Tool("save-info " + out);
        EXPECT_EQ(info.out, "tile count: " + std::to_string(game.tiles) + "\nset size: " + std::to_string(game.once) +
                                "\nremoved: " + std::to_string(game.moves * game.once) + "\nauto-hint: off\n")
            << info.err;
    }
}

TEST(GameCommands, SaveInfoRefusesACorruptedFileNamingSlotAndField)
{
    const std::string path = TempPath("dat");
    ASSERT_EQ(Tool("save " + kLayouts + "classic.tvm --problem 9 --moves 3 --out " + path).status, 0);
    std::string bytes = ReadFile(path);
    bytes[94 * 5 + 22] ^= 1;  // slot 5's PaiBltY
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    const ToolRun run = Tool("save-info " + path);
    EXPECT_TRUE(OneLineError(run));
    EXPECT_NE(run.err.find("slot 5: PaiBltY is"), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(path), bytes);
}

} // namespace
