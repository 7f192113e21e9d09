#include "FileConv.h"
#include "PaiStructure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

const fs::path TemplateFolder = fs::path(TOVRIK_SOURCE_DIR) / "data" / "template";

std::vector<std::string> ShippedLayouts()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(TemplateFolder))
        if (entry.path().extension() == ".tvm")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct Layout {
    std::vector<uint16_t> positions;
    std::vector<uint8_t> counts;
    int setSize = 0;
    std::u16string message;
};

Layout Load(const std::string& name)
{
    FileConv file;
    file.LoadFile((TemplateFolder / (name + ".tvm")).string());
    Layout layout{file.GetPositionArray(), file.GetPaiArray(), file.GetPlaytime(), file.GetMessage()};
    while (!layout.message.empty() && layout.message.back() == u'\0')
        layout.message.pop_back();
    return layout;
}

// The flower-like classes 38 to 40 keep their spread mode in the count's top two bits.
int SpreadMode(const Layout& layout, int tileClass)
{
    return tileClass >= 38 ? layout.counts[static_cast<size_t>(tileClass)] >> 6 : 0;
}

int TileCount(const Layout& layout, int tileClass)
{
    return layout.counts[static_cast<size_t>(tileClass)] & (tileClass >= 38 ? 63 : 255);
}

class ShippedLayoutTest : public testing::TestWithParam<std::string> {
protected:
    const Layout layout = Load(GetParam());
};

} // namespace

TEST_P(ShippedLayoutTest, HasAJapaneseMessageASourceAndEveryTileOnTheGridInsideTheBoard)
{
    ASSERT_FALSE(layout.message.empty());
    EXPECT_TRUE(std::any_of(layout.message.begin(), layout.message.end(), [](char16_t c) { return c >= 0x3000; }));
    EXPECT_TRUE(fs::exists(fs::path(TOVRIK_SOURCE_DIR) / "tools" / "layouts" / (GetParam() + ".layout")));
    std::set<uint16_t> seen;
    for (uint16_t code : layout.positions) {
        SCOPED_TRACE(code);
        EXPECT_TRUE(seen.insert(code).second) << "two tiles at one place";
        const int layer = code / 2048, column = code / 32 % 64, row = code % 32;
        ASSERT_LE(layer, 7);
        EXPECT_LE(column, 34);
        EXPECT_LE(row, 20);
        const int x = column * 18 - layer * 6, y = row * 25 - layer * 6;
        EXPECT_TRUE(x >= 0 && y >= 0 && x + 43 <= 655 && y + 57 <= 557) << "drawn at " << x << "," << y;
    }
}

// The board's own layout rules (tested with the board) decide whether the counts make whole sets.
TEST_P(ShippedLayoutTest, CountsMakeWholeSetsOfMatchingTiles)
{
    EXPECT_GE(layout.setSize, 2);
    EXPECT_EQ(layout.positions.size() % 2, 0u);
    EXPECT_EQ(PaiStructure::LayoutFault(layout.positions, layout.counts, layout.setSize), "");
}

TEST_P(ShippedLayoutTest, NearlyEveryProblemDeals)
{
    const std::string path = (TemplateFolder / (GetParam() + ".tvm")).string();
    PaiStructure board;
    int dealt = 0;
    for (int problem = 1; problem <= 1000; ++problem) {
        try {
            board.CreateTable(path, problem, 0);
            dealt += board.MaxID() == static_cast<int32_t>(layout.positions.size());
        } catch (const std::exception&) {
        }
    }
    EXPECT_GE(dealt, 990);
}

INSTANTIATE_TEST_SUITE_P(Data, ShippedLayoutTest, testing::ValuesIn(ShippedLayouts()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

TEST(LayoutCollectionTest, OffersTheRangeOfShapesAndRules)
{
    const auto names = ShippedLayouts();
    EXPECT_GE(names.size(), 12u);
    std::set<int> setSizes;
    int smallest = 512, largest = 0;
    std::set<std::pair<int, int>> spreadModes;  // (class, mode)
    for (const std::string& name : names) {
        const Layout layout = Load(name);
        setSizes.insert(layout.setSize);
        smallest = std::min(smallest, static_cast<int>(layout.positions.size()));
        largest = std::max(largest, static_cast<int>(layout.positions.size()));
        for (int tileClass = 38; tileClass <= 40; ++tileClass)
            if (TileCount(layout, tileClass) > 0)
                spreadModes.insert({tileClass, SpreadMode(layout, tileClass)});
    }
    EXPECT_TRUE(setSizes.count(2) && setSizes.count(3) && setSizes.count(4));
    EXPECT_LE(smallest, 80);
    EXPECT_GE(largest, 300);
    for (int tileClass = 38; tileClass <= 40; ++tileClass)
        for (int mode = 0; mode <= 3; ++mode)
            EXPECT_TRUE(spreadModes.count({tileClass, mode})) << tileClass << " spread " << mode;
    for (const char* name : {"pyramid", "fortress", "bridge", "cross", "spiral", "beginner", "large"})
        EXPECT_TRUE(std::count(names.begin(), names.end(), name)) << name;
}
