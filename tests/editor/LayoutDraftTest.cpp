#include "ClassAssignment.h"
#include "DealProbe.h"
#include "FileConv.h"
#include "LayoutDraft.h"
#include "LayoutNaming.h"
#include "PaiStructure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>

namespace {

using Tile = LayoutDraft::Tile;
using Verdict = LayoutDraft::Verdict;

// A block of columns x rows tiles on level 0, from (column, row), stepping whole tiles.
void PlaceBlock(LayoutDraft& draft, int level, int column, int row, int columns, int rows)
{
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            ASSERT_EQ(draft.Place({level, column + 2 * c, row + 2 * r}), Verdict::Allowed);
}

int Total(const std::vector<uint8_t>& counts)
{
    int total = 0;
    for (size_t k = 0; k < counts.size(); ++k)
        total += k >= 38 ? counts[k] & 0x3F : counts[k];
    return total;
}

TEST(LayoutDraft, PlacingAndRemovingFollowTheSupportOverlapAndBoardRules)
{
    LayoutDraft draft;
    PlaceBlock(draft, 0, 10, 8, 2, 2);  // columns 10-13, rows 8-11
    const struct {
        Tile tile;
        Verdict verdict;
    } places[] = {
        {{0, 11, 9}, Verdict::Occupied},   // half a tile over a tile of the same level
        {{0, 35, 0}, Verdict::OffBoard},   // its picture would leave the board
        {{1, 0, 5}, Verdict::OffBoard},    // raised levels need column 1 or more
        {{0, 0, 22}, Verdict::OffBoard},   // outside the grid
        {{1, 20, 8}, Verdict::Floating},   // nothing below
        {{2, 11, 9}, Verdict::Floating},   // level 1 empty beneath
        {{1, 13, 11}, Verdict::Allowed},   // rests on a corner of one tile
        {{1, 11, 9}, Verdict::Allowed},    // rests on all four
    };
    for (const auto& [tile, verdict] : places) {
        SCOPED_TRACE(testing::Message() << tile.level << "," << tile.column << "," << tile.row);
        EXPECT_EQ(draft.CanPlace(tile), verdict);
    }
    ASSERT_EQ(draft.Place({1, 11, 9}), Verdict::Allowed);
    // A tile that holds another up stays; the one on top goes; then the one below may.
    EXPECT_EQ(draft.Remove({0, 10, 8}), Verdict::HoldsOthers);
    EXPECT_EQ(draft.Remove({0, 20, 20}), Verdict::NoTile);
    EXPECT_EQ(draft.Count(), 5);
    EXPECT_EQ(draft.Remove({1, 11, 9}), Verdict::Allowed);
    EXPECT_EQ(draft.Remove({0, 10, 8}), Verdict::Allowed);
    EXPECT_EQ(draft.Count(), 3);

    // The face of the tile at (0, 12, 8) is drawn from x 216, y 200.
    Tile found;
    ASSERT_TRUE(draft.TileAt(0, 216 + 36, 200 + 50, found));
    EXPECT_EQ(found, (Tile{0, 12, 8}));
    EXPECT_FALSE(draft.TileAt(0, 216 + 37, 200, found));
    EXPECT_FALSE(draft.TileAt(1, 216, 200, found));

    // The limit of 512 tiles: a full level 0 holds 17 x 10, so build up.
    LayoutDraft full;
    int placed = 0;
    for (int level = 0; level < LayoutDraft::kLevels && placed < LayoutDraft::kMaxTiles; ++level)
        for (int row = 1; row + 1 < 21 && placed < LayoutDraft::kMaxTiles; row += 2)
            for (int column = 1; column + 1 < 34 && placed < LayoutDraft::kMaxTiles; column += 2)
                placed += full.Place({level, column, row}) == Verdict::Allowed;
    ASSERT_EQ(full.Count(), LayoutDraft::kMaxTiles);
    EXPECT_EQ(full.CanPlace({7, 33, 19}), Verdict::Full);
}

TEST(LayoutDraft, UndoRedoAndMirrorStepThroughTheEdits)
{
    LayoutDraft draft;
    ASSERT_EQ(draft.Place({0, 2, 2}), Verdict::Allowed);
    ASSERT_EQ(draft.Place({0, 4, 2}), Verdict::Allowed);
    ASSERT_EQ(draft.Place({1, 3, 2}), Verdict::Allowed);
    ASSERT_EQ(draft.Remove({1, 3, 2}), Verdict::Allowed);
    EXPECT_EQ(draft.Place({0, 3, 2}), Verdict::Occupied);  // refusals are no steps
    EXPECT_EQ(draft.Count(), 2);
    EXPECT_TRUE(draft.Undo());
    EXPECT_EQ(draft.Count(), 3);
    EXPECT_TRUE(draft.Undo());
    EXPECT_TRUE(draft.Undo());
    EXPECT_TRUE(draft.Undo());
    EXPECT_FALSE(draft.Undo());
    EXPECT_EQ(draft.Count(), 0);
    EXPECT_TRUE(draft.Redo());
    EXPECT_TRUE(draft.Redo());
    EXPECT_EQ(draft.Tiles(), (std::vector<Tile>{{0, 2, 2}, {0, 4, 2}}));
    // A new edit forgets what could have been redone.
    ASSERT_EQ(draft.Place({0, 6, 2}), Verdict::Allowed);
    EXPECT_FALSE(draft.Redo());

    // Mirroring adds the images across the middle, lower levels first, in one step.
    ASSERT_EQ(draft.Place({1, 3, 2}), Verdict::Allowed);
    EXPECT_EQ(draft.MirrorLeftRight(), 4);
    std::vector<Tile> tiles = draft.Tiles();
    for (const Tile& tile : {Tile{0, 32, 2}, Tile{0, 30, 2}, Tile{0, 28, 2}, Tile{1, 31, 2}})
        EXPECT_NE(std::find(tiles.begin(), tiles.end(), tile), tiles.end());
    EXPECT_EQ(draft.MirrorLeftRight(), 0);  // each image is there already
    EXPECT_EQ(draft.MirrorTopBottom(), 8);
    EXPECT_EQ(draft.Count(), 16);
    EXPECT_NE(draft.CanPlace({0, 2, 18}), Verdict::Allowed);
    EXPECT_TRUE(draft.Undo());
    EXPECT_EQ(draft.Count(), 8);
    EXPECT_TRUE(draft.Undo());
    EXPECT_EQ(draft.Count(), 4);
}

TEST(LayoutDraft, ClassesKeepTheLoadedLayoutOrFitTheSetSize)
{
    for (const int setSize : {2, 3, 4}) {
        for (const int tiles : {12, 36, 144, 228, 504}) {
            if (tiles % setSize != 0)
                continue;
            SCOPED_TRACE(testing::Message() << tiles << " tiles in sets of " << setSize);
            const std::vector<uint8_t> counts = AssignedClassCounts(tiles, setSize);
            ASSERT_EQ(counts.size(), 41u);
            EXPECT_EQ(Total(counts), tiles);
            const auto [low, high] = std::minmax_element(counts.begin(), counts.begin() + 38);
            for (const uint8_t count : counts)
                EXPECT_EQ(count % setSize, 0);
            if (setSize > 2) {
                EXPECT_LE(*high - *low, setSize);  // as even as whole sets allow
            }
        }
    }
    // Pairs: the classic set for 144, classes of four then one pair otherwise.
    const std::vector<uint8_t> classic = AssignedClassCounts(144, 2);
    EXPECT_EQ(std::count(classic.begin(), classic.begin() + 34, 4), 34);
    EXPECT_EQ(classic[38], 4);
    EXPECT_EQ(classic[39], 4);
    const std::vector<uint8_t> fourteen = AssignedClassCounts(14, 2);
    EXPECT_EQ(std::vector<uint8_t>(fourteen.begin(), fourteen.begin() + 5), (std::vector<uint8_t>{4, 4, 4, 2, 0}));

    // A loaded layout keeps its set size and counts while its positions stay; any change reassigns.
    FileConv shipped;
    shipped.LoadFile(std::string(TOVRIK_SOURCE_DIR) + "/data/template/classic.tvm");
    LayoutDraft draft(shipped);
    FileConv same;
    draft.Fill(same, shipped.GetMessage());
    EXPECT_EQ(same.SaveText(), shipped.SaveText());
    const Tile moved = LayoutDraft::TileOf(shipped.GetPositionArray().back());
    ASSERT_EQ(draft.Remove(moved), Verdict::Allowed);
    ASSERT_EQ(draft.Place(moved), Verdict::Allowed);
    FileConv reordered;
    draft.Fill(reordered, {});
    EXPECT_EQ(reordered.GetPaiArray(), shipped.GetPaiArray());
    draft.SetSetSize(4);
    FileConv quartets;
    draft.Fill(quartets, {});
    EXPECT_EQ(quartets.GetPaiArray(), AssignedClassCounts(144, 4));
    EXPECT_EQ(quartets.GetPlaytime(), 4);
}

TEST(LayoutDraft, ChecksTellWhatKeepsALayoutFromBeingSavedAndDealt)
{
    LayoutDraft draft;
    EXPECT_FALSE(draft.Check().Saveable());
    PlaceBlock(draft, 0, 4, 4, 3, 1);
    draft.SetSetSize(2);
    EXPECT_FALSE(draft.Check().countFits);  // odd
    draft.SetSetSize(3);
    EXPECT_FALSE(draft.Check().countFits);  // a multiple of 3 but odd
    PlaceBlock(draft, 0, 4, 6, 3, 1);
    EXPECT_TRUE(draft.Check().Saveable());
    draft.SetSetSize(4);
    EXPECT_FALSE(draft.Check().countFits);

    // A loaded position off the board is named; the deal probe then deals nothing.
    FileConv outside;
    outside.PutPositionArray({static_cast<uint16_t>(35 * 32 + 20), static_cast<uint16_t>(2 * 32 + 2)});
    outside.PutPaiArray(AssignedClassCounts(2, 2));
    outside.PutPlaytime(2);
    EXPECT_EQ(LayoutDraft(outside).Check().offBoard, 1);
    EXPECT_EQ(CountDealingProblems(outside, 1, 20), 0);

    // Six tiles in a row deal in sets of two and three; a stack of pairs
    // holding each other down needs a tile free in every set.
    draft.SetSetSize(2);
    FileConv row;
    draft.Fill(row, u"row");
    EXPECT_EQ(CountDealingProblems(row, 1, 20), 20);
    LayoutDraft tower;
    ASSERT_EQ(tower.Place({0, 10, 10}), Verdict::Allowed);
    ASSERT_EQ(tower.Place({1, 10, 10}), Verdict::Allowed);
    FileConv stacked;
    tower.Fill(stacked, {});
    EXPECT_EQ(CountDealingProblems(stacked, 1, 20), 0);
}

TEST(LayoutNaming, NamesNeverTakeAShippedOrExistingName)
{
    const std::set<std::string> taken = {"classic.tvm", "classic-2.tvm", "layout.tvm", "pyramid-2.tvm"};
    const auto isTaken = [&](const std::string& name) { return taken.count(name) > 0; };
    EXPECT_EQ(FreeLayoutName("classic", isTaken), "classic-3.tvm");
    EXPECT_EQ(FreeLayoutName("layout", isTaken), "layout-2.tvm");
    EXPECT_EQ(FreeLayoutName("pyramid", isTaken), "pyramid.tvm");
}

} // namespace
