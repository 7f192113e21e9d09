#include "NumberedError.h"
#include "PictureFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace {

std::string Refusal(const std::filesystem::path& path)
{
    try {
        ReadPictureFile(QString::fromStdString(path.string()));
    } catch (const NumberedError& error) {
        return error.what();
    }
    return "read";
}

} // namespace

TEST(PictureFile, ReadsPicturesAndRefusesAtOnceWhatIsNotARegularFile)
{
    const std::filesystem::path folder = std::filesystem::path(TOVRIK_TEST_TMP) / "picture-file";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "folder.bmp");
    ASSERT_EQ(mkfifo((folder / "fifo.jpg").c_str(), 0600), 0);
    std::ofstream(folder / "text.gif") << "not a picture";
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(0x123456);
    ASSERT_TRUE(picture.save(QString::fromStdString((folder / "good.bmp").string()), "BMP"));

    const QImage read = ReadPictureFile(QString::fromStdString((folder / "good.bmp").string()));
    EXPECT_EQ(read.size(), QSize(3, 2));
    EXPECT_EQ(read.pixel(2, 1) & 0xFFFFFF, 0x123456u);
    EXPECT_NE(Refusal(folder / "folder.bmp").find("folder.bmp is not a regular file"), std::string::npos);
    EXPECT_NE(Refusal(folder / "fifo.jpg").find("fifo.jpg is not a regular file"), std::string::npos);
    EXPECT_NE(Refusal(folder / "text.gif").find("text.gif: "), std::string::npos);
    EXPECT_NE(Refusal(folder / "absent.bmp").find("File not found"), std::string::npos);
}
