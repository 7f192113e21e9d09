#include "GameFolders.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

class GameFoldersTest : public testing::Test {
protected:
    void SetUp() override
    {
        root = QString::fromUtf8(TOVRIK_TEST_TMP) + QStringLiteral("/paths/") +
               QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name());
        QDir(root).removeRecursively();
        QDir().mkpath(root);
        previousDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", (root + QStringLiteral("/home-data")).toUtf8());
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", previousDataHome); }

    static void Touch(const QString& path)
    {
        QDir().mkpath(path.left(path.lastIndexOf(u'/')));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(path.toUtf8());
    }

    static bool Always(const QString&) { return true; }
    static bool Never(const QString&) { return false; }

    QString root;
    QByteArray previousDataHome;
};

TEST_F(GameFoldersTest, APortableCopyReadsAndWritesBesideItselfUnlessThatFolderIsReadOnly)
{
    const QString program = root + QStringLiteral("/portable");
    Touch(program + QStringLiteral("/template/classic.tvm"));
    const QString user = root + QStringLiteral("/home-data/tovrik");
    EXPECT_EQ(GameFolders::UserFolder(), user);

    const GameFolders writable(program, Always);
    EXPECT_EQ(writable.DataFolder(), program);
    EXPECT_EQ(writable.SoundArchivePath(), program + QStringLiteral("/sound.dat"));
    EXPECT_EQ(writable.WallpaperFolder(), program + QStringLiteral("/wallpaper"));
    EXPECT_EQ(writable.WritableFolder(), program);
    EXPECT_FALSE(QDir(user).exists());

    const GameFolders readOnly(program, Never);
    EXPECT_EQ(readOnly.DataFolder(), program);
    EXPECT_EQ(readOnly.WritableFolder(), user);
    EXPECT_TRUE(QDir(user).exists()) << "the user folder is made on first use";
}

TEST_F(GameFoldersTest, AnInstalledCopyReadsFromShareAndNeverWritesIntoThePrefix)
{
    const QString prefix = root + QStringLiteral("/prefix");
    Touch(prefix + QStringLiteral("/share/tovrik/template/classic.tvm"));

    // The plain layout and Debian's /usr/games; even a prefix the program
    // could write to (root's /usr) stays untouched.
    for (const QString& bin : {QStringLiteral("/bin"), QStringLiteral("/games")}) {
        QDir().mkpath(prefix + bin);
        const GameFolders folders(prefix + bin, Always);
        EXPECT_EQ(folders.DataFolder(), prefix + QStringLiteral("/share/tovrik")) << bin.toStdString();
        EXPECT_FALSE(folders.DataBesideProgram());
        EXPECT_EQ(folders.ShippedTemplateFolder(), prefix + QStringLiteral("/share/tovrik/template"));
        EXPECT_EQ(folders.WritableFolder(), GameFolders::UserFolder());
    }

    // Without data anywhere the program's folder is named, for the messages.
    EXPECT_EQ(GameFolders(root, Always).DataFolder(), root);
}

TEST_F(GameFoldersTest, TheUsersOwnLayoutsAreListedWithTheShippedOnesAndWinByName)
{
    const QString program = root + QStringLiteral("/portable");
    Touch(program + QStringLiteral("/template/classic.tvm"));
    Touch(program + QStringLiteral("/template/Beginner.tvm"));
    Touch(program + QStringLiteral("/template/notes.txt"));
    const GameFolders folders(program, Always);
    Touch(folders.UserTemplateFolder() + QStringLiteral("/classic.tvm"));
    Touch(folders.UserTemplateFolder() + QStringLiteral("/mine.tvm"));

    EXPECT_EQ(folders.LayoutNames(),
              QStringList({QStringLiteral("Beginner.tvm"), QStringLiteral("classic.tvm"), QStringLiteral("mine.tvm")}));
    EXPECT_EQ(folders.LayoutPath(QStringLiteral("classic.tvm")), folders.UserTemplateFolder() + QStringLiteral("/classic.tvm"));
    EXPECT_EQ(folders.LayoutPath(QStringLiteral("Beginner.tvm")), program + QStringLiteral("/template/Beginner.tvm"));
    EXPECT_EQ(folders.LayoutPath(QStringLiteral("gone.tvm")), program + QStringLiteral("/template/gone.tvm"));
}

TEST_F(GameFoldersTest, TheRealWritableCheckAsksTheFileSystem)
{
    EXPECT_TRUE(GameFolders::IsWritableFolder(root));
    EXPECT_FALSE(GameFolders::IsWritableFolder(root + QStringLiteral("/missing")));
}

} // namespace
