#include "Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

class SettingsTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder = QString::fromUtf8(TOVRIK_TEST_TMP) + QStringLiteral("/settings/") +
                 QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name());
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
    }

    QString File() const { return folder + QStringLiteral("/tovrik.conf"); }

    QString folder;
};

TEST_F(SettingsTest, EveryChoiceIsOnDiskAtOnceAndReadBackByAFreshInstance)
{
    const QString picture = folder + QStringLiteral("/felt.png");
    QFile(picture).open(QIODevice::WriteOnly);
    {
        Settings settings(File());
        EXPECT_FALSE(settings.Sound());
        EXPECT_FALSE(settings.AutoHint());
        EXPECT_TRUE(settings.Wallpaper().isEmpty());
        EXPECT_FALSE(settings.LastGame());
        EXPECT_FALSE(settings.WindowPosition());
        settings.SetSound(true);
        settings.SetAutoHint(true);
        settings.SetWallpaper(picture);
        settings.SetLastGame({QStringLiteral("pyramid.tvm"), 1234, 32});
        settings.SetWindowPosition({40, 70});
        settings.SetValue(QStringLiteral("window/scale"), 2);
        // Read by a second instance while the first still lives: nothing
        // waits for the end of the run.
        const Settings reader(File());
        EXPECT_TRUE(reader.Sound());
        EXPECT_EQ(reader.Value(QStringLiteral("window/scale")).toInt(), 2);
    }
    const Settings settings(File());
    EXPECT_TRUE(settings.Sound());
    EXPECT_TRUE(settings.AutoHint());
    EXPECT_EQ(settings.Wallpaper(), picture);
    ASSERT_TRUE(settings.LastGame());
    EXPECT_EQ(settings.LastGame()->layout, QStringLiteral("pyramid.tvm"));
    EXPECT_EQ(settings.LastGame()->problem, 1234);
    EXPECT_EQ(settings.LastGame()->faceDown, 32);
    EXPECT_EQ(settings.WindowPosition(), QPoint(40, 70));
}

TEST_F(SettingsTest, ValuesThatNoLongerApplyReadAsTheDefaults)
{
    Settings settings(File());
    settings.SetWallpaper(folder + QStringLiteral("/deleted.png"));
    EXPECT_TRUE(settings.Wallpaper().isEmpty());

    settings.SetLastGame({QStringLiteral("classic.tvm"), 100001, 0});
    EXPECT_FALSE(settings.LastGame());
    settings.SetLastGame({QStringLiteral("../escape.tvm"), 5, 0});
    EXPECT_FALSE(settings.LastGame());
    settings.SetLastGame({QStringLiteral("classic.tvm"), 5, 513});
    EXPECT_FALSE(settings.LastGame());

    settings.SetValue(QStringLiteral("sound"), QStringLiteral("banana"));
    settings.SetValue(QStringLiteral("window/position"), QStringLiteral("left"));
    EXPECT_FALSE(settings.Sound());
    EXPECT_FALSE(settings.WindowPosition());

    settings.Remove(QStringLiteral("sound"));
    EXPECT_FALSE(Settings(File()).Value(QStringLiteral("sound")).isValid());
}

TEST_F(SettingsTest, TheUsersFileLiesInTheConfigFolderNamedByTheEnvironment)
{
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", folder.toUtf8());
    EXPECT_EQ(Settings::DefaultFilePath(), folder + QStringLiteral("/tovrik/tovrik.conf"));
    Settings().SetSound(true);
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/tovrik/tovrik.conf")));
    qputenv("XDG_CONFIG_HOME", previous);
}

TEST_F(SettingsTest, AFifoOrAHugeFileInThePlaceOfTheSettingsIsSetAsideNotWaitedOn)
{
    ASSERT_EQ(mkfifo(File().toLocal8Bit().constData(), 0600), 0);
    {
        Settings settings(File());
        EXPECT_FALSE(settings.Sound());
        settings.SetSound(true);
    }
    EXPECT_TRUE(QFileInfo(File() + QStringLiteral(".damaged")).exists());
    EXPECT_TRUE(Settings(File()).Sound());

    QFile huge(File());
    ASSERT_TRUE(huge.open(QIODevice::ReadWrite));
    ASSERT_TRUE(huge.resize(qint64(1) << 30));
    huge.close();
    EXPECT_FALSE(Settings(File()).Sound());
    EXPECT_EQ(QFileInfo(File() + QStringLiteral(".damaged")).size(), qint64(1) << 30);
}

} // namespace
