#include "BoardTestSupport.h"

#include <algorithm>
#include <map>
#include <random>
#include <set>

namespace {

uint64_t Fnv1a(const std::string& text)
{
    uint64_t hash = 0xCBF29CE484222325ull;
    for (const unsigned char c : text)
        hash = (hash ^ c) * 0x100000001B3ull;
    return hash;
}

std::string DealText(const PaiStructure& board)
{
    std::string text;
    for (int32_t id = 0; id < board.MaxID(); ++id) {
        const PaiSlot& slot = board.Slot(id);
        text += std::to_string(slot.PaiIndex) + ' ' + std::to_string(slot.Group) + ' ' + std::to_string(slot.RevMode) + '\n';
    }
    return text;
}

std::string Dealt(int problem, int faceDown = 0)
{
    PaiStructure board;
    board.CreateTable(ClassicPath(), problem, faceDown);
    return DealText(board);
}

// The free rule worked out from positions alone, independent of the board's links.
bool FreeByRule(const std::set<int>& present, int code)
{
    const int layer = code / 2048, column = code / 32 % 64, row = code % 32;
    const auto at = [&](int l, int c, int r) {
        return l < 8 && c >= 0 && c < 36 && r >= 0 && r < 22 && present.count(l * 2048 + c * 32 + r) > 0;
    };
    for (int dc = -1; dc <= 1; ++dc)
        for (int dr = -1; dr <= 1; ++dr)
            if (at(layer + 1, column + dc, row + dr))
                return false;
    const auto sideBlocked = [&](int dc) {
        return at(layer, column + dc, row) || (row >= 2 && at(layer, column + dc, row - 1))
            || (row <= 19 && at(layer, column + dc, row + 1));
    };
    return !sideBlocked(2) || !sideBlocked(-2);
}

std::vector<uint16_t> ApartPositions(int count)
{
    std::vector<uint16_t> positions;
    for (int i = 0; i < count; ++i)
        positions.push_back(Code(0, i % 9 * 4, i / 9 * 3));
    return positions;
}

// How many tiles of each face, or of each match class, the board holds.
std::map<int32_t, int> Tally(const PaiStructure& board, bool byGroup)
{
    std::map<int32_t, int> tally;
    for (int32_t id = 0; id < board.MaxID(); ++id)
        ++tally[byGroup ? board.Group(id) : board.PaiIndex(id)];
    return tally;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find("\r\n", start);
        lines.push_back(end == std::string::npos ? text.substr(start) + "<no CR LF>" : text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
}

// Problem numbers are a promise to players: these deals must never change.
TEST(Deal, PinnedDealsOfTheClassicLayout)
{
    EXPECT_EQ(Fnv1a(Dealt(1)), 0x68BFE4ECD864ACB5ull);
    EXPECT_EQ(Fnv1a(Dealt(2)), 0xD83F9E1C5D2D8D83ull);
    EXPECT_EQ(Fnv1a(Dealt(4649)), 0x104E071BFE3963B3ull);
    EXPECT_EQ(Fnv1a(Dealt(100000)), 0xFF54A5E6C96913BFull);
    EXPECT_EQ(Fnv1a(Dealt(77, 32)), 0x33ED30458F2D81FFull);
}

TEST(Deal, ThousandProblemsDealAndClearTakingTheRecordedSetsInTurn)
{
    PaiStructure board;
    int dealt = 0;
    for (int problem = 1; problem <= 1000; ++problem) {
        try {
            board.CreateTable(ClassicPath(), problem, 0);
        } catch (const NumberedError&) {
            EXPECT_EQ(board.MaxID(), 0);
            continue;
        }
        ++dealt;
        const std::vector<int32_t>& removal = board.RemovalOrder();
        ASSERT_EQ(removal.size(), 144u);
        std::set<int> present;
        for (int32_t id = 0; id < board.MaxID(); ++id)
            present.insert(board.Slot(id).Position);
        for (size_t set = 0; set < removal.size(); set += 2) {
            const PaiSlot& a = board.Slot(removal[set]);
            const PaiSlot& b = board.Slot(removal[set + 1]);
            ASSERT_TRUE(present.count(a.Position) && present.count(b.Position)) << "problem " << problem;
            ASSERT_TRUE(FreeByRule(present, a.Position) && FreeByRule(present, b.Position))
                << "problem " << problem << " set " << set / 2;
            ASSERT_EQ(a.Group, b.Group) << "problem " << problem << " set " << set / 2;
            present.erase(a.Position);
            present.erase(b.Position);
        }
        EXPECT_TRUE(present.empty());
    }
    EXPECT_GE(dealt, 990);
}

TEST(Deal, SameProblemGivesTheSameDealAndAnswerWhileProblemZeroDiffers)
{
    PaiStructure first, second;
    first.CreateTable(ClassicPath(), 31, 20, TempPath("first.txt"));
    second.CreateTable(ClassicPath(), 31, 20, TempPath("second.txt"));
    EXPECT_EQ(DealText(first), DealText(second));
    EXPECT_EQ(ReadFile(TempPath("first.txt")), ReadFile(TempPath("second.txt")));
    EXPECT_NE(Dealt(0), Dealt(0));
}

TEST(Deal, ClassTableGivesFacesAndMatchClasses)
{
    PaiStructure board;
    board.CreateTable(ClassicPath(), 8, 0);
    for (int32_t id = 0; id < board.MaxID(); ++id) {
        const int32_t face = board.PaiIndex(id);
        EXPECT_EQ(board.Group(id), face < 40 ? face - face / 10 : (face < 44 ? 38 : 39)) << "face " << face;
    }
    // Four of every suit, wind and dragon face; the seasons and flowers once each.
    const auto perFace = Tally(board, false);
    EXPECT_EQ(perFace.size(), 34u + 8u);
    for (const auto& [face, count] : perFace)
        EXPECT_EQ(count, face >= 40 ? 1 : 4) << "face " << face;
}

TEST(Deal, SpreadModesOfTheFlowerLikeClasses)
{
    PaiStructure board;
    // Mode 0: the four seasons in turn, all matching each other.
    board.CreateTable(WriteLayout(ApartPositions(4), Counts({{38, 4}}), 2), 3, 0);
    EXPECT_EQ(Tally(board, false), (std::map<int32_t, int>{{40, 1}, {41, 1}, {42, 1}, {43, 1}}));
    EXPECT_EQ(Tally(board, true), (std::map<int32_t, int>{{38, 4}}));
    // Mode 1: one face only.
    board.CreateTable(WriteLayout(ApartPositions(6), Counts({{40, 0x40 | 6}}), 2), 3, 0);
    EXPECT_EQ(Tally(board, false), (std::map<int32_t, int>{{50, 6}}));
    EXPECT_EQ(Tally(board, true), (std::map<int32_t, int>{{40, 6}}));
    // Mode 2 with 16 tiles: four faces of four tiles, only equal faces match.
    board.CreateTable(WriteLayout(ApartPositions(16), Counts({{38, 0x80 | 16}}), 2), 3, 0);
    EXPECT_EQ(Tally(board, false), (std::map<int32_t, int>{{40, 4}, {41, 4}, {42, 4}, {43, 4}}));
    for (int32_t id = 0; id < board.MaxID(); ++id)
        EXPECT_EQ(board.Group(id), board.PaiIndex(id));
    // Mode 3 with 8 tiles: four blocks of two.
    board.CreateTable(WriteLayout(ApartPositions(8), Counts({{39, 0xC0 | 8}}), 2), 3, 0);
    EXPECT_EQ(Tally(board, true), (std::map<int32_t, int>{{44, 2}, {45, 2}, {46, 2}, {47, 2}}));
}

TEST(Deal, FaceDownCounts)
{
    PaiStructure board;
    for (const auto& [faceDown, expected] : {std::pair{0, std::map<int, int>{{0, 144}}}, {1, {{1, 144}}},
                                             {32, {{0, 112}, {2, 32}}}}) {
        board.CreateTable(ClassicPath(), 12, faceDown);
        std::map<int, int> modes;
        for (int32_t id = 0; id < board.MaxID(); ++id)
            ++modes[board.Slot(id).RevMode];
        EXPECT_EQ(modes, expected) << "face down " << faceDown;
    }
    EXPECT_EQ(ErrorNumber([&] { board.CreateTable(ClassicPath(), 12, -1); }), NumberedError::InvalidArgument);
    EXPECT_EQ(board.MaxID(), 0);
}

TEST(Deal, IllFormedLayoutsNameTheBrokenRuleAndLeaveTheBoardEmpty)
{
    const std::vector<uint16_t> four = ApartPositions(4);
    const struct {
        std::vector<uint16_t> positions;
        std::vector<uint8_t> counts;
        int setSize;
        std::string fault;
    } cases[] = {
        {four, Counts({{0, 4}}), 2, ""},
        {{}, Counts({}), 2, "no positions"},
        {{Code(0, 0, 0), Code(0, 0, 0)}, Counts({{0, 2}}), 2, "twice"},
        {{Code(0, 0, 0), Code(0, 36, 0)}, Counts({{0, 2}}), 2, "outside"},
        {{Code(0, 0, 0), Code(0, 0, 22)}, Counts({{0, 2}}), 2, "outside"},
        {{Code(0, 0, 0), Code(8, 0, 0)}, Counts({{0, 2}}), 2, "outside"},
        {{Code(0, 34, 20), Code(0, 35, 0)}, Counts({{0, 2}}), 2, "slot 1 (layer 0, column 35, row 0) does not fit"},
        {{Code(0, 0, 21), Code(0, 2, 0)}, Counts({{0, 2}}), 2, "slot 0 (layer 0, column 0, row 21) does not fit"},
        {{Code(0, 2, 2), Code(1, 0, 4)}, Counts({{0, 2}}), 2, "slot 1 (layer 1, column 0, row 4) does not fit"},
        {{Code(0, 2, 2), Code(1, 4, 0)}, Counts({{0, 2}}), 2, "slot 1 (layer 1, column 4, row 0) does not fit"},
        {{Code(1, 1, 1), Code(7, 35, 21)}, Counts({{0, 2}}), 2, ""},
        {four, Counts({{0, 4}}), 0, "set size is less than 1"},
        {four, Counts({{0, 4}}), 3, "positions is not a multiple"},
        {four, Counts({{0, 2}}), 2, "add up to 2"},
        {four, Counts({{0, 6}}), 2, "add up to 6"},
        {four, Counts({{0, 3}, {1, 1}}), 2, "class 0 is not a multiple"},
        {ApartPositions(18), Counts({{38, 0x80 | 18}}), 2, "more than 16"},
        {ApartPositions(6), Counts({{38, 0x80 | 6}}), 3, "face block"},
        {ApartPositions(6), Counts({{39, 0xC0 | 6}}), 2, "multiple of 4"},
        {ApartPositions(8), Counts({{40, 0xC0 | 8}}), 4, "face block"},
        {ApartPositions(16), Counts({{40, 0xC0 | 16}}), 4, ""},
        {ApartPositions(8), Counts({{38, 0x80 | 4}, {40, 0x00 | 4}}), 2, "would match"},
        {ApartPositions(8), Counts({{38, 0x80 | 4}, {40, 0x80 | 4}}), 2, ""},
        {ApartPositions(8), Counts({{38, 0x40 | 4}, {40, 0x40 | 4}}), 2, ""},
    };
    for (const auto& layout : cases) {
        const std::string fault = PaiStructure::LayoutFault(layout.positions, layout.counts, layout.setSize);
        if (layout.fault.empty())
            EXPECT_EQ(fault, "");
        else
            EXPECT_NE(fault.find(layout.fault), std::string::npos) << fault << " is not about " << layout.fault;
    }

    // A broken layout, or one with too few free tiles to play out, leaves the board empty.
    PaiStructure board;
    const std::pair<std::string, std::string> refused[] = {
        {WriteLayout(four, Counts({{0, 2}}), 2, "broken.tvm"), "add up to 2"},
        {WriteLayout({Code(0, 4, 4), Code(1, 4, 4)}, Counts({{0, 2}}), 2, "stacked.tvm"), "no deal found"},
        {TempPath("missing.tvm"), NumberedError::Description(NumberedError::FileNotFound)},
    };
    for (const auto& [path, fault] : refused) {
        board.CreateTable(ClassicPath(), 1, 0);
        const std::string error = ErrorText([&] { board.CreateTable(path, 2, 0); });
        EXPECT_NE(error.find(fault), std::string::npos) << error;
        EXPECT_EQ(board.MaxID(), 0);
        EXPECT_EQ(board.Once(), 0);
        EXPECT_FALSE(board.Validity(0));
        std::vector<int32_t> order(5);
        board.CopyBltOrder(order);
        EXPECT_TRUE(order.empty());
    }
}

TEST(Answer, ListsEveryTileInPlayOutOrderWithItsPlaceAndName)
{
    PaiStructure board;
    const std::string path = TempPath("answer.txt");
    board.CreateTable(ClassicPath(), 1, 144, path);
    const std::vector<std::string> lines = Lines(ReadFile(path));
    ASSERT_EQ(lines.size(), 144u);
    const std::vector<int32_t>& removal = board.RemovalOrder();
    for (size_t i = 0; i < lines.size(); ++i) {
        const PaiSlot& slot = board.Slot(removal[i]);
        char expected[32];
        std::snprintf(expected, sizeof expected, "%dF (%3d, %3d) ", slot.Position / 2048 + 1,
                      slot.Position / 32 % 64 - 17, 10 - slot.Position % 32);
        ASSERT_EQ(lines[i].substr(0, 14), expected) << "line " << i + 1;
        EXPECT_EQ(lines[i].substr(14), PaiStructure::FaceName(slot.PaiIndex)) << "line " << i + 1;
    }
    EXPECT_EQ(board.Group(removal[0]), board.Group(removal[1]));
    EXPECT_TRUE(board.Selectable(removal[0]) && board.Selectable(removal[1]));

    // The corners of the grid, and the names of two faces.
    board.CreateTable(WriteLayout({Code(0, 0, 0), Code(7, 35, 21)}, Counts({{37, 1}, {31, 1}}), 1), 4, 0, path);
    const auto written = Lines(ReadFile(path));
    const bool hundredTowersLow = board.PaiIndex(0) == 48;
    const std::string low = std::string("1F (-17,  10) ") + (hundredTowersLow ? "百塔" : "白　");
    const std::string high = std::string("8F ( 18, -11) ") + (hundredTowersLow ? "白　" : "百塔");
    EXPECT_EQ(std::set<std::string>(written.begin(), written.end()), (std::set<std::string>{low, high}));

    const std::string error = ErrorText([&] { board.CreateTable(ClassicPath(), 1, 0, TempPath("no/such/dir.txt")); });
    EXPECT_NE(error.find("no/such/dir.txt"), std::string::npos) << "an unwritable answer fails the deal: " << error;
    EXPECT_EQ(board.MaxID(), 0);
}

TEST(Answer, FaceNamesFollowTheFaceTable)
{
    // The table of faces and names, in face order; the unused numbers 9, 19, 29 and 49 read "◆◆".
    const char* const names[54] = {
        "一萬", "二萬", "三萬", "四萬", "伍萬", "六萬", "七萬", "八萬", "九萬", "◆◆",
        "１索", "２索", "３索", "４索", "５索", "６索", "７索", "８索", "９索", "◆◆",
        "１筒", "２筒", "３筒", "４筒", "５筒", "６筒", "７筒", "８筒", "９筒", "◆◆",
        "東　", "南　", "西　", "北　", "白　", "発　", "中　", "□　", "鳳　", "龍　",
        "季春", "季夏", "季秋", "季冬", "花梅", "花蘭", "花竹", "花菊", "百塔", "◆◆",
        "天牌", "女牌", "散牌", "華牌"};
    for (int32_t face = 0; face < 54; ++face)
        EXPECT_EQ(PaiStructure::FaceName(face), names[face]) << "face " << face;
    EXPECT_EQ(ErrorNumber([] { PaiStructure::FaceName(54); }), NumberedError::SubscriptOutOfRange);
}

TEST(Deal, EventsRunDuringThePlayOutAndCannotStartAnotherDeal)
{
    PaiStructure board;
    int pumped = 0;
    int refused = 0;
    board.SetEventPump([&] {
        ++pumped;
        EXPECT_TRUE(board.Building());
        refused += ErrorNumber([&] { board.CreateTable(ClassicPath(), 2, 0); }) == NumberedError::InvalidArgument;
    });
    board.CreateTable(ClassicPath(), 1, 0);
    EXPECT_GE(pumped, 1);
    EXPECT_EQ(refused, pumped);
    EXPECT_FALSE(board.Building());
    EXPECT_EQ(DealText(board), Dealt(1));
}

// Random damage to a valid layout file must give errors, never crashes or
// half-built boards.
TEST(Deal, RandomlyDamagedLayoutFilesAreRejectedOrDealtSafely)
{
    std::string original = ReadFile(ClassicPath());
    original.resize(original.find("\r\n"));
    const std::string alphabet = "QWERTYUIOPASDFGHJKLZXCVBNMqwertyuipasdfghjklzxcvbnm13579864!#$-_";
    std::mt19937 random(20240229);
    const auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
    PaiStructure board;
    int loaded = 0;
    int dealt = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text = original;
        for (size_t edits = 1 + pick(4); edits > 0 && !text.empty(); --edits) {
            switch (pick(6)) {
            case 0: text[pick(text.size())] = static_cast<char>(pick(256)); break;
            case 1: text.erase(pick(text.size()), 1 + pick(8)); break;
            case 2: text.insert(pick(text.size()), 1, alphabet[pick(64)]); break;
            case 3: text.resize(pick(text.size())); break;
            default: text[pick(std::min<size_t>(text.size(), 400))] = alphabet[pick(64)]; break;
            }
        }
        FileConv file;
        const int loadError = ErrorNumber([&] { file.LoadText(text); });
        if (loadError != 0) {
            EXPECT_TRUE(loadError == NumberedError::SubscriptOutOfRange || loadError == NumberedError::Overflow);
            continue;
        }
        ++loaded;
        const std::string path = TempPath("tvm");
        std::ofstream(path, std::ios::binary) << text << "\r\n";
        if (ErrorNumber([&] { board.CreateTable(path, round + 1, round % 3); }) == 0) {
            ++dealt;
            EXPECT_EQ(board.MaxID(), static_cast<int32_t>(file.GetPositionArray().size()));
        } else {
            EXPECT_EQ(board.MaxID(), 0);
        }
    }
    EXPECT_GT(loaded, 300);
    EXPECT_GT(dealt, 30);
}

} // namespace
