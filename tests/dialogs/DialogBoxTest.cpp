#include "DialogBox.h"

#include "DialogsTestSupport.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

// Answers the dialogs from a list of paths ("" = cancelled) and keeps the requests.
class ScriptedChooser {
public:
    ScriptedChooser()
        : previous_(DialogBox::SetChooser([this](const DialogBox::ChooserRequest& request) {
              requests.push_back(request);
              const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
              return answer;
          }))
    {
    }
    ~ScriptedChooser() { DialogBox::SetChooser(std::move(previous_)); }

    QStringList answers;
    std::vector<DialogBox::ChooserRequest> requests;

private:
    DialogBox::Chooser previous_;
};

class DialogBoxTest : public ::testing::Test {
protected:
    ScriptedChooser chooser;
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
    EXPECT_EQ(messages.requests[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(chooser.requests.empty());
}

TEST_F(DialogBoxTest, FreshRecordsStartInTheProgramFolderWithNothingChosen)
{
    box.Initialize(nullptr);
    EXPECT_TRUE(box.OpenFile().isEmpty());
    EXPECT_TRUE(box.OpenFName().isEmpty());
    EXPECT_TRUE(box.OpenDirectry().isEmpty());
    EXPECT_FALSE(box.IsOpenSelected());
    EXPECT_FALSE(box.IsSaveSelected());

    box.OpenDialog();
    box.SaveDialog();
    ASSERT_EQ(chooser.requests.size(), 2u);
    const QString programFolder = QCoreApplication::applicationDirPath() + u'/';
    EXPECT_EQ(chooser.requests[0].initialFolder, programFolder);
    EXPECT_EQ(chooser.requests[0].title, QStringLiteral(u"ファイルを開く"));
    EXPECT_EQ(chooser.requests[0].flags, DialogBox::FLAG_PATH_MUST_EXIST | DialogBox::FLAG_FILE_MUST_EXIST);
    EXPECT_EQ(chooser.requests[0].filter, QStringLiteral(u"全て(*.*) (*)"));
    EXPECT_EQ(chooser.requests[1].kind, DialogBox::Kind::Save);
    EXPECT_EQ(chooser.requests[1].title, QStringLiteral(u"名前を付けて保存"));
    EXPECT_EQ(chooser.requests[1].flags, 0u);
    EXPECT_TRUE(messages.requests.empty());
}

TEST_F(DialogBoxTest, AConfirmedChoiceGivesPathNameAndFolderAndTheNextDialogStartsThere)
{
    box.Initialize(nullptr);
    chooser.answers = {QStringLiteral("/pics/a.bmp"), QStringLiteral("/other/b.gif")};
    ASSERT_TRUE(box.OpenDialog());
    EXPECT_TRUE(box.IsOpenSelected());
    EXPECT_EQ(box.OpenFile(), QStringLiteral("/pics/a.bmp"));
    EXPECT_EQ(box.OpenFName(), QStringLiteral("a.bmp"));
    EXPECT_EQ(box.OpenDirectry(), QStringLiteral("/pics/"));

    ASSERT_TRUE(box.OpenDialog());
    EXPECT_EQ(chooser.requests[1].initialFolder, QStringLiteral("/pics/"));
    EXPECT_EQ(chooser.requests[1].proposedFile, QStringLiteral("/pics/a.bmp"));
    EXPECT_EQ(box.OpenDirectry(), QStringLiteral("/other/"));
    // The save record is separate and untouched.
    EXPECT_TRUE(box.SaveFile().isEmpty());
}

TEST_F(DialogBoxTest, ACancelledDialogEmptiesTheTextsButKeepsTheFolder)
{
    box.Initialize(nullptr);
    chooser.answers = {QStringLiteral("/pics/a.bmp"), QString(), QString()};
    ASSERT_TRUE(box.SaveDialog());
    EXPECT_FALSE(box.SaveDialog());
    EXPECT_FALSE(box.IsSaveSelected());
    EXPECT_TRUE(box.SaveFile().isEmpty());
    EXPECT_TRUE(box.SaveFName().isEmpty());
    EXPECT_TRUE(box.SaveDirectry().isEmpty());
    box.SaveDialog();
    EXPECT_EQ(chooser.requests[2].initialFolder, QStringLiteral("/pics/"));
}

TEST_F(DialogBoxTest, TitleFilterDefaultsReachTheDialog)
{
    box.Initialize(nullptr);
    box.OpenDialog_Title(QStringLiteral(u"背景画を選択してください"));
    box.OpenDialog_Filter(QStringLiteral("*.bmp;*.gif;*.jpg"));
    box.OpenDialog_DefExt(QStringLiteral("bmp"));
    box.OpenDialog_DefFile(QStringLiteral("wall.bmp"));
    box.SaveDialog_DefFile(QString(300, u'x'));
    box.OpenDialog();
    box.SaveDialog();
    const DialogBox::ChooserRequest& open = chooser.requests[0];
    EXPECT_EQ(open.title, QStringLiteral(u"背景画を選択してください"));
    EXPECT_EQ(open.filter, QStringLiteral("*.bmp *.gif *.jpg"));
    EXPECT_EQ(open.defaultExtension, QStringLiteral("bmp"));
    EXPECT_EQ(open.proposedFile, QStringLiteral("wall.bmp"));
    EXPECT_EQ(chooser.requests[1].proposedFile.size(), DialogBox::FILE_BUFFER_SIZE);
}

TEST(DialogBoxFilters, PairsBecomeQtFiltersAndFoldersGetOneSeparator)
{
    const QChar nul(u'\0');
    const QString pairs = QStringLiteral("Bitmap") + nul + QStringLiteral("*.bmp") + nul +
                          QStringLiteral("Pictures") + nul + QStringLiteral("*.gif;*.jpg") + nul + nul;
    EXPECT_EQ(DialogBox::ToQtFilter(pairs), QStringLiteral("Bitmap (*.bmp);;Pictures (*.gif *.jpg)"));
    EXPECT_EQ(DialogBox::FolderWithSeparator(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(DialogBox::FolderWithSeparator(QStringLiteral("/opt/tovrik")), QStringLiteral("/opt/tovrik/"));
}

} // namespace
