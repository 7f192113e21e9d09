// The shipped wallpapers and the program's icon: committed as the art
// generator draws them, and fit for their use.
#include "AppIcon.h"
#include "SheetTestSupport.h"
#include "Wallpapers.h"

#include <QDir>

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(ExtrasTest, CommittedWallpapersAreWhatTheGeneratorDrawsAndDifferFromEachOther)
{
    const std::vector<Wallpapers::Wallpaper> drawn = Wallpapers::Build();
    ASSERT_GE(drawn.size(), 3u);
    EXPECT_EQ(QDir(QStringLiteral(TOVRIK_SOURCE_DIR "/data/wallpaper")).entryList(QDir::Files).size(),
              static_cast<qsizetype>(drawn.size()))
        << "data/wallpaper holds exactly the generated pictures";
    std::set<QRgb> centres;
    for (const Wallpapers::Wallpaper& wallpaper : drawn) {
        const QImage committed = Committed(("data/wallpaper/" + wallpaper.fileName.toStdString()).c_str());
        EXPECT_EQ(committed.size(), QSize(655, 557)) << wallpaper.fileName.toStdString();
        EXPECT_TRUE(committed == wallpaper.picture.convertToFormat(QImage::Format_RGB32))
            << "data/wallpaper/" << wallpaper.fileName.toStdString() << " is out of date: rebuild it with the art target";
        centres.insert(At(committed, 327, 278));
    }
    EXPECT_EQ(centres.size(), drawn.size());
    // The dark picture is dark and the light one light, so the tiles stand out on both.
    EXPECT_LT(qGray(At(Committed("data/wallpaper/night.png"), 327, 278)), 80);
    EXPECT_GT(qGray(At(Committed("data/wallpaper/paper.png"), 327, 278)), 200);
}

TEST(ExtrasTest, CommittedIconsAreWhatTheGeneratorDrawsOnATransparentGround)
{
    for (int size : AppIcon::kSizes) {
        const std::string name = "data/icons/" + std::to_string(size) + ".png";
        const QImage committed(QString::fromStdString(TOVRIK_SOURCE_DIR "/" + name));
        const QImage drawn = AppIcon::Build(size);
        ASSERT_EQ(committed.size(), QSize(size, size)) << name;
        EXPECT_TRUE(committed.convertToFormat(QImage::Format_ARGB32) == drawn)
            << name << " is out of date: rebuild it with the art target";
        EXPECT_EQ(qAlpha(drawn.pixel(0, size - 1)), 0) << name;
        EXPECT_EQ(qAlpha(drawn.pixel(size / 3, size / 2)), 255) << name;
    }
}

} // namespace
