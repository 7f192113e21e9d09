#include "FileConv.h"
#include "NumberedError.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string TempPath(const std::string& suffix)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(TOVRIK_TEST_TMP) + "/" + info->test_suite_name() + "." + info->name() + "." + suffix;
}

std::vector<uint16_t> Positions(size_t count)
{
    std::vector<uint16_t> positions;
    for (size_t i = 0; i < count; ++i)
        positions.push_back(static_cast<uint16_t>((i * 37 + (i % 2 ? 0x7F00 : 0)) % 32768));
    return positions;
}

std::vector<uint8_t> SomeCounts()
{
    std::vector<uint8_t> counts(41);
    for (size_t k = 0; k < counts.size(); ++k)
        counts[k] = static_cast<uint8_t>(k * 7 + 3);
    return counts;
}

FileConv Layout(size_t positions, const std::u16string& message)
{
    FileConv file;
    file.PutPositionArray(Positions(positions));
    file.PutPaiArray(SomeCounts());
    file.PutPlaytime(2);
    file.PutMessage(message);
    return file;
}

int LoadError(const std::string& line)
{
    FileConv file;
    try {
        file.LoadText(line);
    } catch (const NumberedError& error) {
        EXPECT_TRUE(file.GetPositionArray().empty());
        return error.number();
    }
    return 0;
}

TEST(FileConv, WrittenLayoutReadsBackWithPaddingInTheMessage)
{
    const std::string path = TempPath("tvm");
    Layout(144, u"配置の説明を十文字で").SaveFile(path);
    FileConv read;
    read.LoadFile(path);
    EXPECT_EQ(read.GetPositionArray(), Positions(144));
    EXPECT_EQ(read.GetPaiArray(), SomeCounts());
    EXPECT_EQ(read.GetPlaytime(), 2);
    EXPECT_EQ(read.GetMessage(), u"配置の説明を十文字で");

    std::ifstream in(path, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // 1 + 288 + 41 + 1 + 20 bytes need no padding: 468 characters and CR LF.
    EXPECT_EQ(content.size(), 468u + 2u);
    EXPECT_EQ(content.substr(content.size() - 2), "\r\n");
}

TEST(FileConv, BlockSizesAndPadding)
{
    // 351 bytes need no padding: 468 characters.
    EXPECT_EQ(Layout(144, u"0123456789").SaveText().size(), 468u);
    // 349 bytes get two zero bytes: one U+0000 more in the message.
    const std::string nine = Layout(144, u"012345678").SaveText();
    EXPECT_EQ(nine.size(), 468u);
    FileConv read;
    read.LoadText(nine);
    EXPECT_EQ(read.GetMessage(), std::u16string(u"012345678") + u'\0');
    // A line one character short is rejected.
    EXPECT_EQ(LoadError(nine.substr(0, 467)), NumberedError::SubscriptOutOfRange);
}

TEST(FileConv, EncodingFollowsTheLayoutAlphabet)
{
    FileConv file;
    file.PutPositionArray({0x0102, 0x0304});
    file.PutPaiArray(std::vector<uint8_t>(41, 0));
    file.PutPlaytime(255);
    const std::string line = file.SaveText();
    // Byte 0 is 0 (two positions), then 01 02 03 04.
    EXPECT_EQ(line.substr(0, 8), "QQTEQbJQ");

    FileConv read;
    read.LoadText(line);
    EXPECT_EQ(read.GetPlaytime(), 255);
    EXPECT_EQ(read.GetPositionArray(), (std::vector<uint16_t>{0x0102, 0x0304}));
    // 'q' is not 'Q': the first position changes.
    std::string changed = line;
    changed[2] = 'q';
    read.LoadText(changed);
    EXPECT_NE(read.GetPositionArray()[0], 0x0102);
}

TEST(FileConv, EmptyMessageReadsBack)
{
    // Four positions and no message fill the block exactly: nothing follows the set size.
    const std::string line = Layout(4, u"").SaveText();
    EXPECT_EQ(line.size(), 51u / 3u * 4u);
    FileConv read;
    read.LoadText(line);
    EXPECT_EQ(read.GetMessage(), u"");
    EXPECT_EQ(read.GetPositionArray(), Positions(4));
}

TEST(FileConv, MalformedLinesGiveNumberedErrors)
{
    const std::string good = Layout(6, u"abc").SaveText();
    EXPECT_EQ(LoadError(""), NumberedError::SubscriptOutOfRange);
    EXPECT_EQ(LoadError(good.substr(0, good.size() - 1)), NumberedError::SubscriptOutOfRange);
    EXPECT_EQ(LoadError(good.substr(0, good.size() - 12)), NumberedError::SubscriptOutOfRange);
    // Header announcing 512 positions on a block of six bytes.
    EXPECT_EQ(LoadError("_bQQQQQQ"), NumberedError::SubscriptOutOfRange);
    std::string foreign = good;
    foreign[5] = '2';
    EXPECT_EQ(LoadError(foreign), NumberedError::Overflow);
    foreign[5] = '\xE3';
    EXPECT_EQ(LoadError(foreign), NumberedError::Overflow);
    // First position with its high byte at 128: "Q" then a value with the top bit set.
    FileConv high;
    high.PutPositionArray({0x7FFF, 1});
    high.PutPaiArray(std::vector<uint8_t>(41, 0));
    std::string highLine = high.SaveText();
    highLine[1] = 'O'; // byte 1 becomes 0x8F
    EXPECT_EQ(LoadError(highLine), NumberedError::Overflow);
    // The bad position is met before the block runs short of counts.
    EXPECT_EQ(LoadError(highLine.substr(0, 8)), NumberedError::Overflow);
}

TEST(FileConv, LineEndsAndOnlyTheFirstLineCount)
{
    const std::string line = Layout(8, u"end").SaveText();
    const std::string lf = TempPath("lf.tvm"), crlf = TempPath("crlf.tvm"), bare = TempPath("bare.tvm"),
                      cr = TempPath("cr.tvm");
    std::ofstream(lf, std::ios::binary) << line << "\nsecond line is ignored\n";
    std::ofstream(crlf, std::ios::binary) << line << "\r\n";
    std::ofstream(bare, std::ios::binary) << line;
    std::ofstream(cr, std::ios::binary) << line << "\rsecond line is ignored\r";
    for (const std::string& path : {lf, crlf, bare, cr}) {
        FileConv read;
        read.LoadFile(path);
        EXPECT_EQ(read.GetPositionArray(), Positions(8)) << path;
        EXPECT_EQ(read.GetMessage(), std::u16string(u"end") + u'\0') << path;
    }
}

TEST(FileConv, WriterRefusesWhatTheFormatCannotHold)
{
    FileConv file;
    EXPECT_THROW(file.PutPlaytime(256), NumberedError);
    EXPECT_THROW(file.PutPlaytime(-1), NumberedError);
    file.PutPlaytime(1);
    file.PutPaiArray(std::vector<uint8_t>(41, 0));
    for (const size_t count : {0, 3, 514}) {
        file.PutPositionArray(Positions(count));
        EXPECT_THROW(file.SaveText(), NumberedError) << count;
    }
    file.PutPositionArray({1, 32768});
    EXPECT_THROW(file.SaveText(), NumberedError);
    file.PutPositionArray({1, 2});
    file.PutPaiArray(std::vector<uint8_t>(40, 0));
    EXPECT_THROW(file.SaveText(), NumberedError);

}

TEST(FileConv, ReaderRefusesFilesAndMessagesBeyondItsBounds)
{
    // 4,096 characters, or one more after the writer's padding, is the longest message read.
    EXPECT_EQ(LoadError(Layout(2, std::u16string(4096, u'm')).SaveText()), 0);
    EXPECT_EQ(LoadError(Layout(4, std::u16string(4096, u'm')).SaveText()), 0);
    EXPECT_EQ(LoadError(Layout(2, std::u16string(4097, u'm')).SaveText()), NumberedError::Overflow);

    const std::string folder = TempPath("folder"), fifo = TempPath("fifo"), large = TempPath("large.tvm");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(folder);
    std::filesystem::remove(fifo);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // A valid first line, then enough to pass 1 MiB.
    std::ofstream(large, std::ios::binary) << Layout(2, u"x").SaveText() << "\r\n" << std::string(1 << 20, '.');
    const struct {
        std::string path;
        std::string fault;
    } cases[] = {
        {TempPath("missing.tvm"), "File not found"},
        {folder, folder + " is not a regular file"},
        {fifo, fifo + " is not a regular file"},
        {large, "the layout file " + large + " is larger than 1 MiB"},
    };
    for (const auto& refused : cases) {
        try {
            FileConv file;
            file.LoadFile(refused.path);
            ADD_FAILURE() << refused.path << " loaded";
        } catch (const NumberedError& error) {
            EXPECT_NE(std::string(error.what()).find(refused.fault), std::string::npos) << error.what();
        }
    }
}

} // namespace
