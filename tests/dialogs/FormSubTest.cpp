#include "FormSub.h"

#include "DialogsTestSupport.h"
#include "PictureBox.h"
#include "PixelSurface.h"

#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A button sheet in flat colours: each region of the panel's art its own
// colour, every label transparent red inside a border, so the frame under it
// shows through.
const QColor kFrameColor(10, 20, 30);
const QColor kHighlightColor(200, 210, 220);
const QColor kOnColor(0, 255, 0);
const QColor kOffColor(0, 0, 128);
const QColor kLabelBorder(90, 90, 90);
constexpr uint32_t kPanelBlue = 0x3399FF;

QImage PanelSheet()
{
    QImage sheet(221, 302, QImage::Format_RGB32);
    sheet.fill(QColor(255, 0, 0));
    QPainter painter(&sheet);
    painter.fillRect(QRect(0, 45, 110, 32), kFrameColor);
    painter.fillRect(QRect(0, 77, 110, 32), kHighlightColor);
    painter.setPen(kLabelBorder);
    for (const QPoint label : {QPoint(110, 141), QPoint(0, 173), QPoint(110, 173), QPoint(0, 205), QPoint(110, 205),
                               QPoint(110, 269), QPoint(110, 237), QPoint(0, 269)})
        painter.drawRect(QRect(label, QSize(109, 31)));
    painter.fillRect(QRect(0, 237, 55, 32), kOnColor);
    painter.fillRect(QRect(55, 237, 55, 32), kOffColor);
    return sheet;
}

uint32_t Rgb(const QColor& color)
{
    return color.rgb() & 0xFFFFFF;
}

void ExpectMessage(const MessageRequest& request, const std::string& text, const std::string& title,
                   MessageButtons buttons, MessageIcon icon)
{
    EXPECT_EQ(request.text, text);
    EXPECT_EQ(request.title, title);
    EXPECT_EQ(request.buttons, buttons);
    EXPECT_EQ(request.icon, icon);
}

class FormSubTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = FreshTestFolder(QStringLiteral("formsub"));
        panel = std::make_unique<FormSub>(module);
        panel->Initialize(PanelSheet());
        panel->SetWallsize(655, 557);
        panel->SetSaveFilePath(folder + QStringLiteral("/save.dat"));
        panel->show();
    }

    void Press(int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(panel.get(), &event);
    }
    void Keys(std::initializer_list<int> keys)
    {
        for (int key : keys)
            Press(key);
    }

    QWidget* Picture() const { return panel->findChild<QWidget*>(QStringLiteral("picMain")); }

    void Mouse(QEvent::Type type, int x, int y)
    {
        const QPointF at(x, y);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, Picture()->mapToGlobal(at), button, button, Qt::NoModifier);
        QApplication::sendEvent(Picture(), &event);
    }
    void MoveTo(int x, int y) { Mouse(QEvent::MouseMove, x, y); }
    void ClickAt(int x, int y) { Mouse(QEvent::MouseButtonPress, x, y); }

    // Hovers over the item's button, passing through a point that hits nothing.
    void Select(int32_t item)
    {
        static const QPoint centres[] = {{115, 46}, {281, 46}, {115, 106}, {281, 106},
                                         {115, 166}, {281, 166}, {115, 226}, {198, 282}};
        MoveTo(2, 2);
        MoveTo(centres[item].x(), centres[item].y());
    }

    uint32_t PresentedPixel(int x, int y) const
    {
        const PixelSurface* surface = static_cast<PictureBox*>(Picture())->Presented();
        EXPECT_NE(surface, nullptr);
        return surface ? surface->Pixel(x, y) & 0xFFFFFF : 0;
    }

    void WriteSaveFile()
    {
        QFile file(folder + QStringLiteral("/save.dat"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }

    QString folder;
    FakeModule module;
    MessageRecorder messages;
    std::unique_ptr<FormSub> panel;
};

TEST_F(FormSubTest, ArrowKeysMoveThroughTheGridAndEscapeOrZClose)
{
    const std::vector<std::tuple<int32_t, int, int32_t>> steps = {
        {0, Qt::Key_Up, 7},   {1, Qt::Key_Up, 7},    {2, Qt::Key_Up, 0},    {6, Qt::Key_Up, 4},
        {7, Qt::Key_Up, 5},   {7, Qt::Key_Down, 0},  {6, Qt::Key_Down, 7},  {4, Qt::Key_Down, 6},
        {5, Qt::Key_Down, 7}, {0, Qt::Key_Down, 2},  {0, Qt::Key_Right, 1}, {3, Qt::Key_Left, 2},
        {4, Qt::Key_Left, 5}, {6, Qt::Key_Left, 6},  {7, Qt::Key_Right, 7}, {5, Qt::Key_A, 5},
    };
    for (const auto& [from, key, to] : steps) {
        Select(from);
        ASSERT_EQ(panel->SelectedItem(), from);
        Press(key);
        EXPECT_EQ(panel->SelectedItem(), to) << "from " << from << " key " << key;
    }
    for (int key : {Qt::Key_Escape, Qt::Key_Z}) {
        for (int32_t start = 0; start < FormSub::ITEM_COUNT; ++start) {
            panel->show();
            Select(start);
            Press(key);
            EXPECT_FALSE(panel->isVisible()) << start;
            EXPECT_EQ(panel->SelectedItem(), FormSub::ITEM_CLOSE);
        }
    }
    EXPECT_TRUE(module.calls.empty());
    EXPECT_TRUE(messages.requests.empty());
}

TEST_F(FormSubTest, SmallPointerMovesAreIgnoredAndBordersHitNothing)
{
    // Item 1's left border line (226, 46) hits nothing; 3 pixels on is over
    // item 1 but ignored; the fourth pixel is tested.
    Select(0);
    MoveTo(226, 46);
    EXPECT_EQ(panel->SelectedItem(), 0);
    MoveTo(229, 49);
    EXPECT_EQ(panel->SelectedItem(), 0);
    MoveTo(230, 46);
    EXPECT_EQ(panel->SelectedItem(), 1);
    // The same downwards, onto item 3 from between the rows.
    MoveTo(228, 88);
    MoveTo(231, 91);
    EXPECT_EQ(panel->SelectedItem(), 1);
    MoveTo(228, 92);
    EXPECT_EQ(panel->SelectedItem(), 3);

    // Clicks on border lines do nothing; inside they run the item.
    for (const QPoint border : {QPoint(60, 40), QPoint(170, 40), QPoint(100, 30), QPoint(100, 62), QPoint(143, 280)})
        ClickAt(border.x(), border.y());
    EXPECT_EQ(panel->SelectedItem(), 3);
    EXPECT_TRUE(panel->isVisible());
    ClickAt(144, 280);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(panel->SelectedItem(), FormSub::ITEM_CLOSE);
    EXPECT_TRUE(module.calls.empty());
}

TEST_F(FormSubTest, ThePanelShowsFramesLabelsAndSwitches)
{
    EXPECT_TRUE(BlankTitle(*panel));
    // Item 0 is highlighted; a label's transparent inside shows its frame.
    EXPECT_EQ(PresentedPixel(110, 46), Rgb(kHighlightColor));
    EXPECT_EQ(PresentedPixel(276, 46), Rgb(kFrameColor));
    EXPECT_EQ(PresentedPixel(60, 30), Rgb(kLabelBorder));
    EXPECT_EQ(PresentedPixel(10, 10), kPanelBlue);
    EXPECT_EQ(PresentedPixel(385, 298), kPanelBlue);
    // Both switches start off; their indicators sit 45 right and 30 down of the buttons.
    EXPECT_EQ(PresentedPixel(106, 181), Rgb(kOffColor));
    EXPECT_EQ(PresentedPixel(272, 181), Rgb(kOffColor));

    Press(Qt::Key_Right);
    EXPECT_EQ(PresentedPixel(110, 46), Rgb(kFrameColor));
    EXPECT_EQ(PresentedPixel(276, 46), Rgb(kHighlightColor));
    panel->SetAutohint(true);
    Press(Qt::Key_Shift); // any key repaints
    EXPECT_EQ(PresentedPixel(106, 181), Rgb(kOnColor));
}

TEST_F(FormSubTest, SwitchesToggleTellTheShellAndWallpaperKeepsThePanelOpen)
{
    ClickAt(230, 160);
    EXPECT_TRUE(panel->Sound()) << "the first toggle turns sound on";
    ClickAt(230, 160);
    panel->SetAutohint(true);
    ClickAt(70, 160);
    EXPECT_FALSE(panel->Autohint());
    ClickAt(70, 160);
    EXPECT_EQ(PresentedPixel(106, 181), Rgb(kOnColor));
    ClickAt(70, 220);
    EXPECT_EQ(module.calls, (std::vector<std::string>{"PanelCommand 51", "PanelCommand 52", "PanelCommand 42",
                                                      "PanelCommand 41", "ChooseWallpaper"}));
    EXPECT_TRUE(panel->isVisible());
}

TEST_F(FormSubTest, NewGameAndLoadHideThePanelBeforeAskingTheShell)
{
    std::vector<bool> visibleDuringCommand;
    module.onPanelCommand = [&](int) { visibleDuringCommand.push_back(panel->isVisible()); };
    Press(Qt::Key_Return);
    EXPECT_FALSE(panel->isVisible());

    // Load: no file, an error and no question; a folder is no file either.
    panel->show();
    Keys({Qt::Key_Down, Qt::Key_Right, Qt::Key_Return});
    QDir(folder).mkdir(QStringLiteral("save.dat"));
    Press(Qt::Key_Return);
    ASSERT_EQ(messages.requests.size(), 2u);
    ExpectMessage(messages.requests[1], "ロードするファイルがありません", "ファイル読み込みエラー", MessageButtons::Ok,
                  MessageIcon::None);
    QDir(folder).rmdir(QStringLiteral("save.dat"));

    WriteSaveFile();
    messages.answers = {MessageResult::No};
    Press(Qt::Key_Return);
    ExpectMessage(messages.requests[2], "ロードしますか？", "ロード", MessageButtons::YesNo, MessageIcon::None);
    EXPECT_TRUE(panel->isVisible());
    Press(Qt::Key_Return);
    EXPECT_EQ(module.calls, (std::vector<std::string>{"PanelCommand 0", "PanelCommand 3"}));
    EXPECT_EQ(visibleDuringCommand, (std::vector<bool>{false, false}));
}

TEST_F(FormSubTest, RestartAndSaveAskAndWordTheirFailures)
{
    Press(Qt::Key_Right);
    module.restartResult = false;
    messages.answers = {MessageResult::No, MessageResult::Yes};
    Keys({Qt::Key_X, Qt::Key_X});
    ASSERT_EQ(messages.requests.size(), 3u);
    ExpectMessage(messages.requests[0], "最初からやり直しますか？", "リスタート", MessageButtons::YesNo,
                  MessageIcon::None);
    ExpectMessage(messages.requests[2], "リスタートできません。", "ゲーム未選択", MessageButtons::Ok,
                  MessageIcon::Warning);
    EXPECT_TRUE(panel->isVisible());

    Press(Qt::Key_Left); // item 0, then Down to save
    Press(Qt::Key_Down);
    module.saveResult = false;
    messages.answers = {MessageResult::Yes};
    Press(Qt::Key_Return);
    ExpectMessage(messages.requests[3], "セーブしますか？", "セーブ", MessageButtons::YesNo, MessageIcon::None);
    ExpectMessage(messages.requests[4], "セーブできません。", "ゲーム未選択", MessageButtons::Ok, MessageIcon::Warning);
    module.saveResult = true;
    Press(Qt::Key_Return);
    EXPECT_EQ(messages.requests.size(), 6u) << "a save that works says nothing more";
    EXPECT_TRUE(panel->isVisible());

    Keys({Qt::Key_Up, Qt::Key_Right});
    module.restartResult = true;
    Press(Qt::Key_Return);
    EXPECT_EQ(module.calls, (std::vector<std::string>{"PanelCommand 1", "PanelCommand 2", "PanelCommand 2",
                                                      "PanelCommand 1"}));
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(FormSubTest, AFailingSaveOrLoadShowsItsReason)
{
    module.onPanelCommand = [](int code) {
        throw std::runtime_error(code == ModuleCommands::PANEL_SAVE ? "disk full" : "save.dat is too short");
    };
    Keys({Qt::Key_Down, Qt::Key_Return});
    ASSERT_EQ(messages.requests.size(), 2u);
    ExpectMessage(messages.requests[1], "セーブできません。\ndisk full", "ファイル書き込みエラー", MessageButtons::Ok,
                  MessageIcon::Warning);
    EXPECT_TRUE(panel->isVisible());

    WriteSaveFile();
    Keys({Qt::Key_Right, Qt::Key_Return});
    ASSERT_EQ(messages.requests.size(), 4u);
    ExpectMessage(messages.requests[3], "ロードできません。\nsave.dat is too short", "ファイル読み込みエラー",
                  MessageButtons::Ok, MessageIcon::Warning);
}

} // namespace
