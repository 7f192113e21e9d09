#include "MessageBox.h"
#include "Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <functional>
#include <string>
#include <vector>

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

QStringList SetAsides(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("tovrik.conf.damaged-*")}, QDir::AllEntries | QDir::System);
}

// A file that cannot be used is set aside, never over an earlier one, and
// reported once; the game starts from the defaults.
TEST_F(SettingsTest, AnUnusableFileIsSetAsideEveryTimeAndReportedOnce)
{
    Settings::TakeStartProblems();
    const std::function<void()> unusable[] = {
        [&] { ASSERT_EQ(mkfifo(File().toLocal8Bit().constData(), 0600), 0); },
        [&] {
            QFile huge(File());
            ASSERT_TRUE(huge.open(QIODevice::ReadWrite));
            ASSERT_TRUE(huge.resize(qint64(1) << 30));
        },
        [&] { QDir().mkpath(File()); },
    };
    int count = 0;
    for (const auto& make : unusable) {
        make();
        {
            Settings settings(File());
            EXPECT_FALSE(settings.Sound());
            settings.SetSound(true);
        }
        EXPECT_EQ(SetAsides(folder).size(), ++count) << "an earlier set-aside stays";
        const QStringList problems = Settings::TakeStartProblems();
        ASSERT_EQ(problems.size(), 1);
        EXPECT_TRUE(problems[0].contains(File())) << problems[0].toStdString();
        EXPECT_TRUE(Settings::TakeStartProblems().isEmpty()) << "told once";
        EXPECT_TRUE(Settings(File()).Sound());
        QFile::remove(File());
    }
    EXPECT_EQ(QFileInfo(folder + u'/' + SetAsides(folder)[1]).size(), qint64(1) << 30);
}

// Values out of range read as the defaults: a window larger than any screen
// never reaches the window.
TEST_F(SettingsTest, OutOfRangeWindowValuesReadAsTheDefaults)
{
    const struct {
        const char* line;
        bool sizeKept;
        bool positionKept;
    } cases[] = {
        {"size=@Size(99999999 99999999)", false, true},
        {"size=@Size(20000 20000)", false, true},
        {"size=@Size(-5 600)", false, true},
        {"size=@Size(1600 1000)", true, true},
        {"position=@Point(99999999 5)", true, false},
        {"position=@Point(-40 70)", true, true},
    };
    for (const auto& [line, sizeKept, positionKept] : cases) {
        QFile file(File());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray("[window]\nsize=@Size(1600 1000)\nposition=@Point(-40 70)\n") + line + '\n');
        file.close();
        const Settings settings(File());
        EXPECT_EQ(settings.LastWindowShape().size.has_value(), sizeKept) << line;
        EXPECT_EQ(settings.WindowPosition().has_value(), positionKept) << line;
    }
}

// A change that cannot be written is told once, in a message box.
TEST_F(SettingsTest, SettingsThatCannotBeWrittenAreReportedOnce)
{
    std::vector<std::string> told;
    const MessageHandler previous = SetMessageHandler([&](const MessageRequest& request) {
        told.push_back(request.text);
        return MessageResult::Ok;
    });
    QFile(folder + QStringLiteral("/afile")).open(QIODevice::WriteOnly);
    Settings settings(folder + QStringLiteral("/afile/tovrik.conf"));
    settings.SetSound(true);
    settings.SetAutoHint(true);
    SetMessageHandler(previous);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("afile/tovrik.conf\": Not a directory"), std::string::npos) << told[0];
    EXPECT_TRUE(settings.Sound()) << "the change holds for the run";
}

} // namespace
