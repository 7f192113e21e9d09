#include "FileConv.h"
#include "LayoutSource.h"
#include "NumberedError.h"
#include "TextCodec.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

uint16_t Code(int layer, int column, int row) { return static_cast<uint16_t>(layer * 2048 + column * 32 + row); }

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Grid(const std::vector<std::pair<int, int>>& tiles)
{
    std::vector<std::string> rows(22, std::string(36, '.'));
    for (const auto& [column, row] : tiles)
        rows[row][column] = '#';
    std::string text;
    for (const std::string& row : rows)
        text += row + "\n";
    return text;
}

std::string ParseError(const std::string& text)
{
    try {
        LayoutSource::Parse(text);
    } catch (const NumberedError& error) {
        EXPECT_EQ(error.number(), NumberedError::InvalidArgument);
        return error.what();
    }
    return "no error";
}

const std::string kHead = "message 小さな配置\nsetsize 2\ncount 0 2\n";

TEST(LayoutSource, ParsesKeywordsCommentsAndGridsInSlotOrder)
{
    const std::string text = "; a comment\n\nmessage 小さな配置\r\nsetsize 2\ncount 0-2 2\ncount 5 4\n"
                             "count 38 4 spread 0\ncount 40 12 spread 3\nlayer 0\n"
                             + Grid({{30, 0}, {2, 1}, {0, 21}}) + "layer 3\n" + Grid({{35, 21}});
    const LayoutSource source = LayoutSource::Parse(text);
    EXPECT_EQ(source.message, u"小さな配置");
    EXPECT_EQ(source.setSize, 2);
    std::vector<uint8_t> counts(41, 0);
    counts[0] = counts[1] = counts[2] = 2;
    counts[5] = 4;
    counts[38] = 4;
    counts[40] = 0xC0 | 12;
    EXPECT_EQ(source.counts, counts);
    EXPECT_EQ(source.positions, (std::vector<uint16_t>{30 * 32, 2 * 32 + 1, 21, 3 * 2048 + 35 * 32 + 21}));
}

TEST(LayoutSource, ErrorsNameTheLine)
{
    const std::string grid = "layer 0\n" + Grid({{0, 0}, {4, 0}});
    EXPECT_EQ(ParseError(kHead + grid), "no error");
    EXPECT_NE(ParseError("message x\nsetsize 2\nbogus 3\n" + grid).find("line 3: unknown keyword 'bogus'"),
              std::string::npos);
    EXPECT_NE(ParseError(kHead + "setsize 0\n" + grid).find("line 4: a second setsize"), std::string::npos);
    EXPECT_NE(ParseError("message x\nsetsize 256\n" + grid).find("line 2: the set size"), std::string::npos);
    EXPECT_NE(ParseError("message x\nsetsize 2\ncount 3 2x\n" + grid).find("line 3: the tile count"),
              std::string::npos);
    EXPECT_NE(ParseError("message x\nsetsize 2\ncount 38 4\n" + grid).find("line 3: classes 38"), std::string::npos);
    EXPECT_NE(ParseError("message x\nsetsize 2\ncount 3 4 spread 1\n" + grid).find("line 3: only classes"),
              std::string::npos);
    EXPECT_NE(ParseError("message x\nsetsize 2\ncount 39 64 spread 0\n" + grid).find("line 3"), std::string::npos);
    EXPECT_NE(ParseError("message x\nsetsize 2\ncount 0-5 2\ncount 5 2\n" + grid).find("line 4: class 5 is counted twice"),
              std::string::npos);
    EXPECT_NE(ParseError("message x\nsetsize 2\ncount 5-1 2\n" + grid).find("runs backwards"), std::string::npos);

    std::string shortLine = kHead + grid;
    shortLine.erase(shortLine.find("#") + 1, 1);
    EXPECT_NE(ParseError(shortLine).find("line 5: a grid line must be 36"), std::string::npos);
    std::string foreign = kHead + grid;
    foreign[foreign.rfind('.')] = 'x';
    EXPECT_NE(ParseError(foreign).find("line 26: a grid line holds only"), std::string::npos);
    EXPECT_NE(ParseError(kHead + "layer 0\n" + Grid({{0, 0}}).substr(0, 37 * 5)).find("ends after 5"),
              std::string::npos);
    EXPECT_NE(ParseError(kHead + "layer 1\n" + Grid({{0, 0}}) + "layer 0\n" + Grid({{0, 0}})).find("line 27: layers"),
              std::string::npos);
    EXPECT_NE(ParseError(kHead + "layer 0\n" + Grid({{0, 0}, {2, 0}, {4, 0}})).find("even number of tiles"),
              std::string::npos);
    EXPECT_NE(ParseError("setsize 2\n" + grid).find("no message"), std::string::npos);
    EXPECT_NE(ParseError("message x\n" + grid).find("no setsize"), std::string::npos);
    EXPECT_NE(ParseError("message \xFF\xFE\nsetsize 2\n" + grid).find("line 1: the message is not valid UTF-8"),
              std::string::npos);
    // What a layout file's message could hold but the source could not give back is refused, naming the line.
    EXPECT_NE(ParseError("message a\rb\r\nsetsize 2\n" + grid).find("line 1: the message holds a lone CR"),
              std::string::npos);
    EXPECT_NE(ParseError("message a\r\r\nsetsize 2\n" + grid).find("line 1: the message holds a lone CR"),
              std::string::npos);
    EXPECT_NE(ParseError("message x\nmessage a" + std::string(1, '\0') + "b\nsetsize 2\n" + grid)
                  .find("line 2: the message holds a NUL character"),
              std::string::npos);
    const std::string line2048 = "message " + std::string(2048, 'm') + "\n";
    EXPECT_EQ(ParseError(line2048 + "message " + std::string(2046, 'm') + "\nsetsize 2\n" + grid), "no error")
        << "4,096 characters with the line break";
    EXPECT_NE(ParseError(line2048 + line2048 + "setsize 2\n" + grid).find("line 2: the message is longer than 4096"),
              std::string::npos);
}

TEST(LayoutSource, FormatWritesTheCanonicalForm)
{
    LayoutSource source;
    source.message = std::u16string(u"説明") + u'\0' + u'\0';
    source.setSize = 2;
    for (int k = 0; k <= 3; ++k)
        source.counts[k] = 4;
    source.counts[5] = 4;
    source.counts[6] = 2;
    source.counts[37] = 2;
    source.counts[39] = 0x80 | 8;
    source.positions = {Code(0, 0, 0), Code(2, 34, 20)};
    const std::string expected = "message 説明\nsetsize 2\ncount 0-3 4\ncount 5 4\ncount 6 2\ncount 37 2\n"
                                 "count 39 8 spread 2\nlayer 0\n" + Grid({{0, 0}}) + "layer 2\n" + Grid({{34, 20}});
    EXPECT_EQ(source.Format(), expected);
    EXPECT_EQ(LayoutSource::Parse(expected).Format(), expected);

    source.message = u"二行の\r\n説明";
    const std::string twoLines = "message 二行の\nmessage 説明\n";
    EXPECT_EQ(source.Format().substr(0, twoLines.size()), twoLines);
    EXPECT_EQ(LayoutSource::Parse(source.Format()).message, source.message);
    source.message = u"改行\n一つ";
    EXPECT_THROW(source.Format(), NumberedError);

    source.message = u"説明";
    source.positions = {Code(0, 36, 0)};
    EXPECT_THROW(source.Format(), NumberedError);
    source.positions = {Code(0, 1, 1), Code(0, 1, 1)};
    EXPECT_THROW(source.Format(), NumberedError);
}

// Every shipped layout source is canonical, and every shipped layout file is
// exactly the build of its source.
TEST(LayoutSource, ShippedSourcesRoundTripAndMatchTheirBuiltFiles)
{
    const std::filesystem::path root = TOVRIK_SOURCE_DIR;
    int sources = 0;
    for (const auto& entry : std::filesystem::directory_iterator(root / "tools" / "layouts")) {
        if (entry.path().extension() != ".layout")
            continue;
        ++sources;
        const std::string text = ReadFile(entry.path());
        const LayoutSource source = LayoutSource::Parse(text);
        EXPECT_EQ(source.Format(), text) << entry.path();

        FileConv built;
        source.ToFile(built);
        const std::filesystem::path shipped = root / "data" / "template" / (entry.path().stem().string() + ".tvm");
        EXPECT_EQ(ReadFile(shipped), built.SaveText() + "\r\n") << shipped;
    }
    EXPECT_GE(sources, 1);
}

TEST(TextCodec, ConvertsBothWaysAndRejectsBrokenUtf8)
{
    const std::string text = "a\xC3\xA9\xE6\x9D\xB1\xF0\x9F\x80\x84";  // a, é, 東, a tile character beyond the BMP
    const auto utf16 = Utf8ToUtf16(text);
    ASSERT_TRUE(utf16);
    EXPECT_EQ(*utf16, (std::u16string{u'a', u'\u00E9', u'\u6771', 0xD83C, 0xDC04}));
    EXPECT_EQ(Utf16ToUtf8(*utf16), text);
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, u'x'}), "\xEF\xBF\xBDx");
    for (const std::string broken : {"\x80", "\xE6\x9D", "\xC0\xAF", "\xED\xA0\x80", "\xF5\x80\x80\x80"})
        EXPECT_FALSE(Utf8ToUtf16(broken)) << broken;
}

} // namespace
