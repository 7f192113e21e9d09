#include "BoardTestSupport.h"

#include "NumberedError.h"
#include "PaiStructure.h"

#include <algorithm>
#include <map>
#include <random>
#include <set>

namespace {

uint64_t Fnv1a(const std::string& text)
{
    uint64_t hash = 0xCBF29CE484222325ull;
    for (const unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001B3ull;
    }
    return hash;
}

std::string DealText(const PaiStructure& board)
{
    std::string text;
    for (int32_t id = 0; id < board.MaxID(); ++id) {
        const PaiSlot& slot = board.Slot(id);
        text += std::to_string(slot.PaiIndex) + ' ' + std::to_string(slot.Group) + ' '
            + std::to_string(slot.RevMode) + '\n';
    }
    return text;
}

uint64_t DealDigest(int problem, int faceDown = 0)
{
    PaiStructure board;
    board.CreateTable(ClassicPath(), problem, faceDown);
    return Fnv1a(DealText(board));
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

int ErrorNumber(const std::function<void()>& action)
{
    try {
        action();
    } catch (const NumberedError& error) {
        return error.number();
    }
    return 0;
}

std::string ErrorText(const std::function<void()>& action)
{
    try {
        action();
    } catch (const NumberedError& error) {
        return error.what();
    }
    return {};
}

// Problem numbers are a promise to players: these deals must never change.
TEST(Deal, PinnedDealsOfTheClassicLayout)
{
    EXPECT_EQ(DealDigest(1), 0x68BFE4ECD864ACB5ull);
    EXPECT_EQ(DealDigest(2), 0xD83F9E1C5D2D8D83ull);
    EXPECT_EQ(DealDigest(4649), 0x104E071BFE3963B3ull);
    EXPECT_EQ(DealDigest(100000), 0xFF54A5E6C96913BFull);
    EXPECT_EQ(DealDigest(77, 32), 0x33ED30458F2D81FFull);
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

    first.CreateTable(ClassicPath(), 0, 0);
    second.CreateTable(ClassicPath(), 0, 0);
    EXPECT_NE(DealText(first), DealText(second));
}

TEST(Deal, ClassTableGivesFacesAndMatchClasses)
{
    PaiStructure board;
    board.CreateTable(ClassicPath(), 8, 0);
    std::map<int32_t, int> perFace;
    for (int32_t id = 0; id < board.MaxID(); ++id) {
        const int32_t face = board.PaiIndex(id), group = board.Group(id);
        ++perFace[face];
        if (face < 10)
            EXPECT_EQ(group, face);
        else if (face < 20)
            EXPECT_EQ(group, face - 1);
        else if (face < 30)
            EXPECT_EQ(group, face - 2);
        else if (face < 40)
            EXPECT_EQ(group, face - 3);
        else
            EXPECT_EQ(group, face < 44 ? 38 : 39);
    }
    // Four of every suit, wind and dragon face; the seasons and flowers once each.
    EXPECT_EQ(perFace.size(), 34u + 8u);
    for (const auto& [face, count] : perFace)
        EXPECT_EQ(count, face >= 40 ? 1 : 4) << "face " << face;
}

std::vector<uint16_t> ApartPositions(int count)
{
    std::vector<uint16_t> positions;
    for (int i = 0; i < count; ++i)
        positions.push_back(Code(0, i % 9 * 4, i / 9 * 3));
    return positions;
}

std::map<int32_t, std::set<int32_t>> GroupsPerFace(const PaiStructure& board)
{
    std::map<int32_t, std::set<int32_t>> groups;
    for (int32_t id = 0; id < board.MaxID(); ++id)
        groups[board.PaiIndex(id)].insert(board.Group(id));
    return groups;
}

TEST(Deal, SpreadModesOfTheFlowerLikeClasses)
{
    PaiStructure board;
    // Mode 0: the four seasons in turn, all matching each other.
    board.CreateTable(WriteLayout(ApartPositions(4), Counts({{38, 4}}), 2), 3, 0);
    auto groups = GroupsPerFace(board);
    EXPECT_EQ(groups.size(), 4u);
    for (const auto& [face, group] : groups) {
        EXPECT_TRUE(face >= 40 && face <= 43);
        EXPECT_EQ(group, std::set<int32_t>{38});
    }

    // Mode 1: one face only.
    board.CreateTable(WriteLayout(ApartPositions(6), Counts({{40, 0x40 | 6}}), 2), 3, 0);
    groups = GroupsPerFace(board);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups.begin()->first, 50);
    EXPECT_EQ(groups.begin()->second, std::set<int32_t>{40});

    // Mode 2 with 16 tiles: four faces of four tiles, only equal faces match.
    board.CreateTable(WriteLayout(ApartPositions(16), Counts({{38, 0x80 | 16}}), 2), 3, 0);
    std::map<int32_t, int> tiles;
    for (int32_t id = 0; id < board.MaxID(); ++id) {
        ++tiles[board.PaiIndex(id)];
        EXPECT_EQ(board.Group(id), board.PaiIndex(id));
    }
    EXPECT_EQ(tiles, (std::map<int32_t, int>{{40, 4}, {41, 4}, {42, 4}, {43, 4}}));

    // Mode 3 with 8 tiles: four blocks of two.
    board.CreateTable(WriteLayout(ApartPositions(8), Counts({{39, 0xC0 | 8}}), 2), 3, 0);
    tiles.clear();
    for (int32_t id = 0; id < board.MaxID(); ++id)
        ++tiles[board.Group(id)];
    EXPECT_EQ(tiles, (std::map<int32_t, int>{{44, 2}, {45, 2}, {46, 2}, {47, 2}}));
}

TEST(Deal, FaceDownCounts)
{
    PaiStructure board;
    board.CreateTable(ClassicPath(), 12, 1);
    for (int32_t id = 0; id < board.MaxID(); ++id)
        EXPECT_EQ(board.Slot(id).RevMode, 1);

    board.CreateTable(ClassicPath(), 12, 32);
    int faceDown = 0;
    for (int32_t id = 0; id < board.MaxID(); ++id) {
        EXPECT_NE(board.Slot(id).RevMode, 1);
        faceDown += board.Slot(id).RevMode == 2;
    }
    EXPECT_EQ(faceDown, 32);

    board.CreateTable(ClassicPath(), 12, 0);
    for (int32_t id = 0; id < board.MaxID(); ++id)
        EXPECT_EQ(board.Slot(id).RevMode, 0);

    EXPECT_EQ(ErrorNumber([&] { board.CreateTable(ClassicPath(), 12, -1); }), NumberedError::InvalidArgument);
    EXPECT_EQ(board.MaxID(), 0);
}

TEST(Deal, LayoutWithTooFewFreeTilesNeverYieldsADeal)
{
    PaiStructure board;
    board.CreateTable(ClassicPath(), 1, 0);
    const std::string stacked = WriteLayout({Code(0, 4, 4), Code(1, 4, 4)}, Counts({{0, 2}}), 2);
    for (const int problem : {1, 2, 3}) {
        const std::string error = ErrorText([&] { board.CreateTable(stacked, problem, 0); });
        EXPECT_NE(error.find("no deal found"), std::string::npos) << error;
        EXPECT_EQ(board.MaxID(), 0);
        EXPECT_EQ(board.Once(), 0);
        std::vector<int32_t> order(5);
        board.CopyBltOrder(order);
        EXPECT_TRUE(order.empty());
    }
}

TEST(Deal, IllFormedLayoutsNameTheBrokenRuleAndLeaveTheBoardEmpty)
{
    const std::vector<uint16_t> four = {Code(0, 0, 0), Code(0, 4, 0), Code(0, 8, 0), Code(0, 12, 0)};
    const auto fault = [](const std::vector<uint16_t>& positions, const std::vector<uint8_t>& counts, int setSize) {
        return PaiStructure::LayoutFault(positions, counts, setSize);
    };
    EXPECT_EQ(fault(four, Counts({{0, 4}}), 2), "");
    EXPECT_NE(fault({}, Counts({}), 2).find("no positions"), std::string::npos);
    EXPECT_NE(fault({Code(0, 0, 0), Code(0, 0, 0)}, Counts({{0, 2}}), 2).find("twice"), std::string::npos);
    for (const uint16_t outside : {Code(0, 36, 0), Code(0, 0, 22), Code(8, 0, 0)})
        EXPECT_NE(fault({Code(0, 0, 0), outside}, Counts({{0, 2}}), 2).find("outside"), std::string::npos);
    EXPECT_NE(fault(four, Counts({{0, 4}}), 0).find("set size is less than 1"), std::string::npos);
    EXPECT_NE(fault(four, Counts({{0, 4}}), 3).find("positions is not a multiple"), std::string::npos);
    EXPECT_NE(fault(four, Counts({{0, 2}}), 2).find("add up to 2"), std::string::npos);
    EXPECT_NE(fault(four, Counts({{0, 6}}), 2).find("add up to 6"), std::string::npos);
    EXPECT_NE(fault(four, Counts({{0, 3}, {1, 1}}), 2).find("class 0 is not a multiple"), std::string::npos);
    EXPECT_NE(fault(ApartPositions(18), Counts({{38, 0x80 | 18}}), 2).find("more than 16"), std::string::npos);
    EXPECT_NE(fault(ApartPositions(6), Counts({{38, 0x80 | 6}}), 3).find("face block"), std::string::npos);
    EXPECT_NE(fault(ApartPositions(6), Counts({{39, 0xC0 | 6}}), 2).find("multiple of 4"), std::string::npos);
    EXPECT_NE(fault(ApartPositions(8), Counts({{40, 0xC0 | 8}}), 4).find("face block"), std::string::npos);
    EXPECT_EQ(fault(ApartPositions(16), Counts({{40, 0xC0 | 16}}), 4), "");
    EXPECT_NE(fault(ApartPositions(8), Counts({{38, 0x80 | 4}, {40, 0x00 | 4}}), 2).find("would match"),
              std::string::npos);
    EXPECT_EQ(fault(ApartPositions(8), Counts({{38, 0x80 | 4}, {40, 0x80 | 4}}), 2), "");
    EXPECT_EQ(fault(ApartPositions(8), Counts({{38, 0x40 | 4}, {40, 0x40 | 4}}), 2), "");

    PaiStructure board;
    board.CreateTable(ClassicPath(), 1, 0);
    const std::string broken = WriteLayout(four, Counts({{0, 2}}), 2);
    const std::string error = ErrorText([&] { board.CreateTable(broken, 1, 0); });
    EXPECT_NE(error.find("add up to 2"), std::string::npos) << error;
    EXPECT_EQ(board.MaxID(), 0);
    EXPECT_FALSE(board.Validity(0));
    EXPECT_EQ(ErrorNumber([&] { board.CreateTable(TempPath("missing.tvm"), 1, 0); }), NumberedError::FileNotFound);
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start) + "<no CR LF>");
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
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
        EXPECT_EQ(lines[i].size(), 14u + 6u) << "two three-byte characters end line " << i + 1;
    }
    // The first set: equal classes, both free on the full board.
    EXPECT_EQ(board.Group(removal[0]), board.Group(removal[1]));
    EXPECT_TRUE(board.Selectable(removal[0]) && board.Selectable(removal[1]));
}

TEST(Answer, EdgesOfTheGridAndFaceNames)
{
    PaiStructure board;
    const std::string path = TempPath("answer.txt");
    const std::vector<uint16_t> corners = {Code(0, 0, 0), Code(7, 35, 21)};
    board.CreateTable(WriteLayout(corners, Counts({{37, 1}, {31, 1}}), 1), 4, 0, path);
    std::set<std::string> lines;
    for (const std::string& line : Lines(ReadFile(path)))
        lines.insert(line);
    const bool hundredTowersLow = board.PaiIndex(0) == 48;
    const std::string low = std::string("1F (-17,  10) ") + (hundredTowersLow ? "百塔" : "白　");
    const std::string high = std::string("8F ( 18, -11) ") + (hundredTowersLow ? "白　" : "百塔");
    EXPECT_EQ(lines, (std::set<std::string>{low, high}));
}

TEST(Answer, UnwritableAnswerFileFailsTheDeal)
{
    PaiStructure board;
    const std::string error = ErrorText([&] { board.CreateTable(ClassicPath(), 1, 0, TempPath("no/such/dir.txt")); });
    EXPECT_NE(error.find("no/such/dir.txt"), std::string::npos) << error;
    EXPECT_EQ(board.MaxID(), 0);
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
    EXPECT_EQ(board.MaxID(), 144);
    board.SetEventPump({});
    EXPECT_EQ(DealText(board), [] {
        PaiStructure plain;
        plain.CreateTable(ClassicPath(), 1, 0);
        return DealText(plain);
    }());
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
        try {
            file.LoadText(text);
            ++loaded;
        } catch (const NumberedError& error) {
            EXPECT_TRUE(error.number() == NumberedError::SubscriptOutOfRange
                        || error.number() == NumberedError::Overflow);
            continue;
        }
        const std::string path = TempPath("tvm");
        std::ofstream(path, std::ios::binary) << text << "\r\n";
        try {
            board.CreateTable(path, round + 1, round % 3);
            ++dealt;
            EXPECT_EQ(board.MaxID(), static_cast<int32_t>(file.GetPositionArray().size()));
        } catch (const NumberedError&) {
            EXPECT_EQ(board.MaxID(), 0);
        }
    }
    EXPECT_GT(loaded, 300);
    EXPECT_GT(dealt, 30);
}

} // namespace
