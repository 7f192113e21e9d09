#include "DialogBox.h"

#include "DialogsTestSupport.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

// Answers the dialogs from a list of paths ("" = cancelled) and keeps the requests.
class DialogBoxTest : public ::testing::Test {
protected:
    DialogBoxTest()
        : previous(DialogBox::SetChooser([this](const DialogBox::ChooserRequest& request) {
              requests.push_back(request);
              return answers.isEmpty() ? QString() : answers.takeFirst();
          }))
    {
    }
    ~DialogBoxTest() override { DialogBox::SetChooser(previous); }

    DialogBox::Chooser previous;
    QStringList answers;
    std::vector<DialogBox::ChooserRequest> requests;
    MessageRecorder messages;
    DialogBox box;
};

TEST_F(DialogBoxTest, BeforeInitializeItComplainsAndShowsNothing)
{
    EXPECT_FALSE(box.OpenDialog());
    EXPECT_FALSE(box.SaveDialog());
    ASSERT_EQ(messages.requests.size(), 2u);
    EXPECT_EQ(messages.requests[0].text, "Debug: OFN not setting!");
    EXPECT_EQ(messages.requests[0].title, "No Initialize");
    EXPECT_TRUE(requests.empty());
}

TEST_F(DialogBoxTest, FreshRecordsStartInTheProgramFolderWithNothingChosen)
{
    box.Initialize(nullptr);
    EXPECT_TRUE(box.OpenFile().isEmpty() && box.OpenFName().isEmpty() && box.OpenDirectry().isEmpty());
    EXPECT_FALSE(box.IsOpenSelected() || box.IsSaveSelected());
    box.OpenDialog();
    box.SaveDialog();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].initialFolder, QCoreApplication::applicationDirPath() + u'/');
    EXPECT_EQ(requests[0].title, QStringLiteral(u"ファイルを開く"));
    EXPECT_EQ(requests[0].flags, DialogBox::FLAG_PATH_MUST_EXIST | DialogBox::FLAG_FILE_MUST_EXIST);
    EXPECT_EQ(requests[0].filter, QStringLiteral(u"全て(*.*) (*)"));
    EXPECT_EQ(requests[1].title, QStringLiteral(u"名前を付けて保存"));
    EXPECT_EQ(requests[1].flags, 0u);
}

TEST_F(DialogBoxTest, TheLastChoiceGivesPathNameFolderAndTheNextStartingPoint)
{
    box.Initialize(nullptr);
    answers = {QStringLiteral("/pics/a.bmp"), QStringLiteral("/other/b.gif"), QString()};
    ASSERT_TRUE(box.OpenDialog());
    EXPECT_EQ(box.OpenFile(), QStringLiteral("/pics/a.bmp"));
    EXPECT_EQ(box.OpenFName(), QStringLiteral("a.bmp"));
    EXPECT_EQ(box.OpenDirectry(), QStringLiteral("/pics/"));
    ASSERT_TRUE(box.OpenDialog());
    EXPECT_EQ(requests[1].initialFolder, QStringLiteral("/pics/"));
    EXPECT_EQ(requests[1].proposedFile, QStringLiteral("/pics/a.bmp"));
    EXPECT_TRUE(box.SaveFile().isEmpty()) << "the save record is separate";

    // Cancelled: the texts are empty, the folder of the last choice stays.
    EXPECT_FALSE(box.OpenDialog());
    EXPECT_FALSE(box.IsOpenSelected());
    EXPECT_TRUE(box.OpenFile().isEmpty() && box.OpenFName().isEmpty() && box.OpenDirectry().isEmpty());
    box.OpenDialog();
    EXPECT_EQ(requests[3].initialFolder, QStringLiteral("/other/"));
}

TEST_F(DialogBoxTest, TitleFilterAndDefaultsReachTheDialog)
{
    box.Initialize(nullptr);
    box.OpenDialog_Title(QStringLiteral(u"背景画を選択してください"));
    box.OpenDialog_Filter(QStringLiteral("*.bmp;*.gif;*.jpg"));
    box.OpenDialog_DefExt(QStringLiteral("bmp"));
    box.OpenDialog_DefFile(QStringLiteral("wall.bmp"));
    box.SaveDialog_DefFile(QString(300, u'x'));
    box.OpenDialog();
    box.SaveDialog();
    EXPECT_EQ(requests[0].title, QStringLiteral(u"背景画を選択してください"));
    EXPECT_EQ(requests[0].filter, QStringLiteral("*.bmp *.gif *.jpg"));
    EXPECT_EQ(requests[0].defaultExtension, QStringLiteral("bmp"));
    EXPECT_EQ(requests[0].proposedFile, QStringLiteral("wall.bmp"));
    EXPECT_EQ(requests[1].proposedFile.size(), DialogBox::FILE_BUFFER_SIZE);

    const QChar nul(u'\0');
    const QString pairs = QStringLiteral("Bitmap") + nul + QStringLiteral("*.bmp") + nul + QStringLiteral("Pictures") +
                          nul + QStringLiteral("*.gif;*.jpg") + nul + nul;
    EXPECT_EQ(DialogBox::ToQtFilter(pairs), QStringLiteral("Bitmap (*.bmp);;Pictures (*.gif *.jpg)"));
    EXPECT_EQ(DialogBox::FolderWithSeparator(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(DialogBox::FolderWithSeparator(QStringLiteral("/opt/tovrik")), QStringLiteral("/opt/tovrik/"));
}

} // namespace
