#include "FileConv.h"
#include "ImportError.h"
#include "LayoutImport.h"
#include "PaiStructure.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string kSamples = std::string(TOVRIK_SOURCE_DIR) + "/tests/layoutimport/samples/";

std::string TempPath(const std::string& suffix)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(TOVRIK_TEST_TMP) + "/" + info->test_suite_name() + "." + info->name() + "." + suffix;
}

FileConv Converted(const ForeignLayout& layout)
{
    FileConv file;
    ConvertToLayoutFile(layout, file);
    return file;
}

std::u16string Message(const FileConv& file)
{
    std::u16string message = file.GetMessage();
    return message.substr(0, message.find(u'\0'));
}

bool HasTile(const ForeignLayout& layout, int x, int y, int z)
{
    for (const ForeignTile& tile : layout.tiles)
        if (tile.x == x && tile.y == y && tile.z == z)
            return true;
    return false;
}

TEST(LayoutImport, QuarterTileFilesOfBothVersionsImportWithTheirDesktopNames)
{
    const std::vector<ForeignLayout> steps = ReadForeignLayouts(kSamples + "steps.layout");
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].name, "段々畑");
    EXPECT_EQ(steps[0].fileStem, "steps");
    EXPECT_EQ(steps[0].tiles.size(), 34u);
    EXPECT_TRUE(HasTile(steps[0], 10, 6, 0));
    EXPECT_TRUE(HasTile(steps[0], 1, 3, 1));
    EXPECT_EQ(Message(Converted(steps[0])), u"段々畑\r\nTwo terraces of\r\ntiles, the upper one\r\nset half a tile off.");

    const std::vector<ForeignLayout> hill = ReadForeignLayouts(kSamples + "hill.layout");
    ASSERT_EQ(hill.size(), 1u);
    EXPECT_EQ(hill[0].name, "hill");
    EXPECT_EQ(hill[0].tiles.size(), 54u);
    EXPECT_TRUE(HasTile(hill[0], 15, 2, 2));
    EXPECT_EQ(Message(Converted(hill[0])), u"hill");
    // The older version with its header line reads the same grid.
    const std::string hillText = ReadImportFile(kSamples + "hill.layout");
    EXPECT_EQ(ParseQuarterTileGrid("kmahjongg-layout-v1.0\r\n" + hillText).size(), 54u);

    // The English name serves when there is no Japanese one; a missing .desktop file is no error.
    ForeignLayout named;
    ReadDesktopEntry("Name=Plain\nDescription=A\\sline\n", named);
    EXPECT_EQ(named.name, "Plain");
    EXPECT_EQ(named.description, "A line");
}

TEST(LayoutImport, XmlMapsExpandEveryElementKind)
{
    const std::vector<ForeignLayout> maps = ReadForeignLayouts(kSamples + "maps.xml");
    ASSERT_EQ(maps.size(), 2u);
    EXPECT_EQ(maps[0].name, "Gate & Bridge");
    EXPECT_EQ(maps[0].tiles.size(), 24u);
    EXPECT_TRUE(HasTile(maps[0], 10, 2, 0));  // block corner
    EXPECT_TRUE(HasTile(maps[0], 8, 6, 0));   // row end
    EXPECT_TRUE(HasTile(maps[0], -2, 5, 0));  // column end, half a tile down
    EXPECT_TRUE(HasTile(maps[0], 7, 1, 1));   // layer 1 row
    EXPECT_TRUE(HasTile(maps[0], 5, 1, 2));   // z from the tile
    EXPECT_EQ(maps[1].name, "Twin Towers");
    EXPECT_EQ(maps[1].tiles.size(), 24u);
    EXPECT_TRUE(HasTile(maps[1], 9, 5, 1));   // a layer without z takes its place
    EXPECT_TRUE(HasTile(maps[1], 9, 3, 2));   // z of the tile beats the layer's
    EXPECT_TRUE(HasTile(maps[1], 1, 3, 3));
}

TEST(LayoutImport, EveryImportedSampleIsCentredAndDealsProblems1To100)
{
    std::vector<ForeignLayout> layouts = ReadForeignLayouts(kSamples + "maps.xml");
    for (const char* name : {"steps.layout", "hill.layout", "lotus.layout"})
        layouts.push_back(ReadForeignLayouts(kSamples + name).front());
    const std::string path = TempPath("tvm");
    for (const ForeignLayout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        const FileConv file = Converted(layout);
        file.SaveFile(path);
        // Centred: the tiles' left and right margins on the board differ by less than a column.
        int left = PaiStructure::kBoardWidth, right = 0;
        for (const uint16_t code : file.GetPositionArray()) {
            const int x = (code / 32 % 64) * 18 - code / 2048 * 6;
            left = std::min(left, x);
            right = std::max(right, x + PaiStructure::kTileWidth);
        }
        EXPECT_LT(std::abs(left - (PaiStructure::kBoardWidth - right)), 18);
        PaiStructure board;
        for (int problem = 1; problem <= 100; ++problem)
            ASSERT_NO_THROW(board.CreateTable(path, problem, 0)) << "problem " << problem;
    }
}

TEST(LayoutImport, ClassCountsFollowTheTileCount)
{
    FileConv classic;
    classic.LoadFile(std::string(TOVRIK_SOURCE_DIR) + "/data/template/classic.tvm");
    EXPECT_EQ(ImportedClassCounts(144), classic.GetPaiArray());
    for (const int tiles : {2, 6, 146, 166, 512}) {
        const std::vector<uint8_t> counts = ImportedClassCounts(tiles);
        int total = 0, pairs = 0;
        for (const uint8_t count : counts) {
            total += count & 63;
            pairs += (count & 63) % 4 == 2;
            EXPECT_EQ(count >> 6, 0);
        }
        EXPECT_EQ(total, tiles);
        EXPECT_EQ(pairs, tiles % 4 / 2);
    }
}

TEST(LayoutImport, MessagesWrapIntoFourShortLines)
{
    EXPECT_EQ(ImportedMessage("とても長い名前の配置ですよ本当に", ""), u"とても長い名前の配置\r\nですよ本当に");
    const std::u16string long16 = ImportedMessage("Name", std::string(30, 'x') + " and many more words follow here");
    EXPECT_EQ(long16, u"Name\r\nxxxxxxxxxxxxxxxxxxxx\r\nxxxxxxxxxx and many\r\nmore words follow…");
    EXPECT_EQ(ImportedFileName("Gate & Bridge"), "gate-bridge.tvm");
    EXPECT_EQ(ImportedFileName("段々"), "imported.tvm");
    EXPECT_EQ(ImportedFileName("段々", "Lotus"), "lotus.tvm");
}

TEST(LayoutImport, UnrepresentableOrMalformedInputIsRefusedWithItsReason)
{
    const std::string grid = "kmahjongg-layout-v1.1\nw4\nh2\nd1\n# level 0\n";
    const struct {
        std::string text;
        std::string reason;
    } cases[] = {
        {R"(<mahjongg><map><block left="0" right="32" top="0" bottom="15"/></map></mahjongg>)", "over 512 tiles"},
        {R"(<mahjongg><map><row y="0" left="0" right="4000"/></map></mahjongg>)", "over 512 tiles"},
        {R"(<mahjongg><map><row y="0" left="0" right="2"/></map></mahjongg>)", "odd number of tiles (3)"},
        {R"(<mahjongg><map><row y="0" left="0" right="19"/></map></mahjongg>)", "grid is too large"},
        {R"(<mahjongg><map><column x="0" top="0" bottom="11"/></map></mahjongg>)", "grid is too large"},
        {R"(<mahjongg><map><tile x="0" y="0" z="0"/><tile x="0" y="0" z="8"/></map></mahjongg>)", "more than 8 levels"},
        {R"(<mahjongg><map><tile x="0" y="0"/><tile x="0.5" y="0.5"/></map></mahjongg>)", "overlapping tiles"},
        {R"(<mahjongg><map></map></mahjongg>)", "holds no tiles"},
        {R"(<mahjongg><map><tile x="0" y="0"></map></mahjongg>)", "</map> does not close <tile>"},
        {R"(<mahjongg><map><tile x="0"/></map></mahjongg>)", "lacks the attribute y"},
        {R"(<mahjongg><map><tile x="0.25" y="0"/></map></mahjongg>)", "not a coordinate"},
        {R"(<mahjongg><map><tile x="0" y="0" x="1"/></map></mahjongg>)", "appears twice"},
        {R"(<!DOCTYPE m [<!ENTITY a "aa">]><mahjongg/>)", "DOCTYPE with declarations"},
        {"<layouts/>", "not <mahjongg>"},
        {std::string(40, '<'), "expected an element name"},
        {"<mahjongg>" + [] { std::string deep; for (int i = 0; i < 40; ++i) deep += "<a>"; return deep; }(),
         "nested deeper than 32"},
        {grid + "12..\n43..\n", "odd number of tiles (1)"},
        {grid + "12..\n4.3.\n", "lacks its 2, 3 and 4"},
        {grid + "1212\n4334\n", "lacks its 2, 3 and 4"},
        {grid + "..2.\n....\n", "belong to no tile"},
        {grid + "12x.\n43..\n", "unexpected character \"x\""},
        {grid + "12\x1b.\n43..\n", "unexpected character \"\\x1b\""},
        {"<mahjongg><map><tile x=\"0\x1b[2J\" y=\"0\"/></map></mahjongg>", "x=\"0\\x1b[2J\" is not a coordinate"},
        {"<mahjongg>" + [] { std::string maps; for (int i = 0; i < 257; ++i) maps += "<map/>"; return maps; }()
             + "</mahjongg>",
         "holds 257 maps; one file may hold at most 256"},
        {"<mahjongg><map" + [] { std::string many; for (int i = 0; i < 65; ++i) many += " a" + std::to_string(i) + "=''"; return many; }()
             + "/></mahjongg>",
         "more than 64 attributes"},
        {grid + "1212.\n4343.\n", "longer than the grid width"},
        {"kmahjongg-layout-v1.1\nw4\nh2\n1212\n4343\n", "lacks one of its w, h and d"},
        {"Name=Nothing\n", "neither the quarter-tile text format nor the XML map format"},
    };
    for (const auto& [text, reason] : cases) {
        SCOPED_TRACE(text.substr(0, 80));
        try {
            const std::vector<ForeignLayout> layouts = ParseForeignLayouts(text, "x", "");
            FileConv file;
            ConvertToLayoutFile(layouts.at(0), file);
            ADD_FAILURE() << "imported";
        } catch (const ImportError& error) {
            EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
        }
    }
}

} // namespace
