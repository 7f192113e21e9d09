#include "EditorBoard.h"
#include "FileConv.h"
#include "LayoutEditor.h"
#include "MessageBox.h"
#include "PaiStructure.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace {

QString FreshFolder(const QString& name)
{
    const QString test = QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name());
    QDir folder(QString::fromUtf8(TOVRIK_TEST_TMP) + QStringLiteral("/editor/") + test + u'-' + name);
    folder.removeRecursively();
    QDir().mkpath(folder.path());
    return folder.path();
}

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Answers every message box with a set answer and keeps what was asked.
class Messages {
public:
    Messages()
        : previous_(SetMessageHandler([this](const MessageRequest& request) {
              texts.push_back(request.text);
              return answer;
          }))
    {
    }
    ~Messages() { SetMessageHandler(std::move(previous_)); }

    std::vector<std::string> texts;
    MessageResult answer = MessageResult::Ok;

private:
    MessageHandler previous_;
};

class LayoutEditorTest : public testing::Test {
protected:
    void SetUp() override
    {
        shipped = QString::fromUtf8(TOVRIK_SOURCE_DIR) + QStringLiteral("/data/template");
        player = FreshFolder(QStringLiteral("player"));
    }

    std::unique_ptr<LayoutEditor> Open(const QString& path)
    {
        auto editor = std::make_unique<LayoutEditor>(LayoutEditor::Folders{shipped, player}, path);
        editor->resize(900, 600);
        editor->show();
        return editor;
    }

    static void Click(LayoutEditor& editor, int column, int row, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(&editor.Board(), button, {}, editor.Board().TileCentre(column, row));
    }
    static void Key(LayoutEditor& editor, int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(&editor, Qt::Key(key), modifiers);
    }
    static void SaveAndWait(LayoutEditor& editor)
    {
        Key(editor, Qt::Key_S, Qt::ControlModifier);
        editor.WaitForChecks();
    }

    QString shipped;
    QString player;
    Messages messages;
};

TEST_F(LayoutEditorTest, ALayoutBuiltByClicksIsSavedReloadsTheSameDealsAndIsClearedByItsAnswer)
{
    const auto editor = Open({});
    // Level 1: a block of four by two tiles.
    for (const int row : {8, 10})
        for (const int column : {10, 12, 14, 16})
            Click(*editor, column, row);
    // Level 2: a tile astride four, one on a corner; a floating one is refused with its reason.
    Key(*editor, Qt::Key_PageUp);
    EXPECT_EQ(editor->Board().Level(), 1);
    Click(*editor, 11, 9);
    Click(*editor, 16, 10);
    Click(*editor, 24, 9);
    EXPECT_TRUE(editor->Status().contains(QStringLiteral(u"支える牌がない"))) << editor->Status().toStdString();
    EXPECT_EQ(editor->Draft().Count(), 10);
    // A tile that holds another up stays, and the status says why.
    Key(*editor, Qt::Key_PageDown);
    Click(*editor, 10, 8, Qt::RightButton);
    EXPECT_TRUE(editor->Status().contains(QStringLiteral(u"支えている"))) << editor->Status().toStdString();
    EXPECT_EQ(editor->Draft().Count(), 10);
    // Clicking a tile of the current level takes it away; undo and redo step through.
    Click(*editor, 14, 8);
    EXPECT_EQ(editor->Draft().Count(), 9);
    Key(*editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor->Draft().Count(), 10);
    Key(*editor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor->Draft().Count(), 9);
    Key(*editor, Qt::Key_Z, Qt::ControlModifier);

    editor->SetMessageText(QStringLiteral(u"手作り\nhand made"));
    QSignalSpy saved(editor.get(), &LayoutEditor::Saved);
    editor->WaitForChecks();
    EXPECT_TRUE(editor->Status().contains(QStringLiteral(u"20 問が配れます"))) << editor->Status().toStdString();
    SaveAndWait(*editor);
    const QString path = player + QStringLiteral("/layout.tvm");
    ASSERT_EQ(saved.count(), 1) << (messages.texts.empty() ? "" : messages.texts.back());
    EXPECT_EQ(saved.at(0).at(0).toString(), QStringLiteral("layout.tvm"));
    EXPECT_EQ(editor->SavedPath(), path);
    EXPECT_FALSE(editor->Modified());
    EXPECT_TRUE(messages.texts.empty());

    FileConv file;
    file.LoadFile(path.toStdString());
    EXPECT_EQ(file.GetPositionArray().size(), 10u);
    EXPECT_EQ(file.GetPlaytime(), 2);
    const std::u16string message = file.GetMessage();
    EXPECT_EQ(message.substr(0, message.find(u'\0')), u"手作り\r\nhand made");
    const auto reopened = Open(path);
    auto sorted = [](std::vector<LayoutDraft::Tile> tiles) {
        std::sort(tiles.begin(), tiles.end(), [](const auto& a, const auto& b) {
            return LayoutDraft::CodeOf(a) < LayoutDraft::CodeOf(b);
        });
        return tiles;
    };
    EXPECT_EQ(sorted(reopened->Draft().Tiles()), sorted(editor->Draft().Tiles()));
    // Saved again unchanged, the file stays byte for byte.
    const QByteArray before = Bytes(path);
    reopened->WaitForChecks();
    reopened->Save();
    reopened->WaitForChecks();
    EXPECT_EQ(Bytes(path), before);

    // The deal's own answer, set by set, clears the board.
    PaiStructure board;
    board.CreateTable(path.toStdString(), 7, 0);
    const std::vector<int32_t> answer = board.RemovalOrder();
    ASSERT_EQ(answer.size(), 10u);
    for (size_t i = 0; i < answer.size(); i += 2) {
        EXPECT_TRUE(board.Selectable(answer[i]) && board.Selectable(answer[i + 1]));
        EXPECT_EQ(board.Group(answer[i]), board.Group(answer[i + 1]));
        board.PickedPai(answer[i]);
        board.PickedPai(answer[i + 1]);
        board.CalcSelectable();
    }
    for (int32_t id = 0; id < board.MaxID(); ++id)
        EXPECT_FALSE(board.Validity(id));
}

TEST_F(LayoutEditorTest, ShippedLayoutsAreCopiedEveryWriteIsAtomicAndBadLayoutsAreRefused)
{
    const QString classic = shipped + QStringLiteral("/classic.tvm");
    const QByteArray shippedBytes = Bytes(classic);
    const auto editor = Open(classic);
    EXPECT_EQ(editor->Draft().Count(), 144);
    EXPECT_FALSE(editor->Modified());
    SaveAndWait(*editor);
    // Unchanged, the copy is the shipped layout byte for byte, under a name no shipped file has.
    const QString copy = player + QStringLiteral("/classic-2.tvm");
    EXPECT_EQ(editor->SavedPath(), copy);
    EXPECT_EQ(Bytes(copy), shippedBytes);
    EXPECT_EQ(Bytes(classic), shippedBytes);

    // The next save replaces the copy whole: a link to the old file keeps the old bytes.
    const QString link = player + QStringLiteral("/old-link");
    ASSERT_EQ(::link(copy.toLocal8Bit().constData(), link.toLocal8Bit().constData()), 0);
    editor->SetSetSize(4);
    SaveAndWait(*editor);
    EXPECT_EQ(Bytes(link), shippedBytes);
    FileConv quartets;
    quartets.LoadFile(copy.toStdString());
    EXPECT_EQ(quartets.GetPlaytime(), 4);
    EXPECT_EQ(QDir(player).entryList(QDir::Files), (QStringList{QStringLiteral("classic-2.tvm"), QStringLiteral("old-link")}));
    EXPECT_TRUE(messages.texts.empty()) << messages.texts.front();

    // A layout that no problem deals is refused, and says why; an odd count is refused too.
    const auto tower = Open(player + QStringLiteral("/tower.tvm"));
    Click(*tower, 10, 10);
    Key(*tower, Qt::Key_PageUp);
    Click(*tower, 10, 10);
    SaveAndWait(*tower);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_NE(messages.texts[0].find("配れない"), std::string::npos) << messages.texts[0];
    Click(*tower, 20, 10, Qt::LeftButton);
    Key(*tower, Qt::Key_PageDown);
    Click(*tower, 20, 10);
    SaveAndWait(*tower);
    ASSERT_EQ(messages.texts.size(), 2u);
    EXPECT_NE(messages.texts[1].find("保存できません"), std::string::npos) << messages.texts[1];
    EXPECT_FALSE(QFile::exists(player + QStringLiteral("/tower.tvm")));

    // Closing with unsaved changes asks first; No keeps the window.
    messages.answer = MessageResult::No;
    QCloseEvent close;
    QCoreApplication::sendEvent(tower.get(), &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_EQ(messages.texts.size(), 3u);
    messages.answer = MessageResult::Yes;
    QCloseEvent again;
    QCoreApplication::sendEvent(tower.get(), &again);
    EXPECT_TRUE(again.isAccepted());
}

} // namespace
