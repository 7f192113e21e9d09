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

// A button sheet painted in flat colours: each region of the panel's art gets
// its own colour, and every label is transparent red except its border, so
// the frame under it shows through.
const QColor kRed(255, 0, 0);
const QColor kFrameColor(10, 20, 30);
const QColor kHighlightColor(200, 210, 220);
const QColor kOnColor(0, 255, 0);
const QColor kOffColor(0, 0, 128);
const QColor kLabelBorder(90, 90, 90);
constexpr uint32_t kPanelBlue = 0x3399FF;

QImage PanelSheet()
{
    QImage sheet(221, 302, QImage::Format_RGB32);
    sheet.fill(kRed);
    QPainter painter(&sheet);
    painter.fillRect(QRect(0, 45, 110, 32), kFrameColor);
    painter.fillRect(QRect(0, 77, 110, 32), kHighlightColor);
    const QPoint labels[] = {{110, 141}, {0, 173}, {110, 173}, {0, 205},
                             {110, 205}, {110, 269}, {110, 237}, {0, 269}};
    for (const QPoint& label : labels) {
        painter.setPen(kLabelBorder);
        painter.drawRect(QRect(label, QSize(109, 31)));
    }
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

    QWidget* Picture() const { return panel->findChild<QWidget*>(QStringLiteral("picMain")); }

    void Mouse(QEvent::Type type, int x, int y)
    {
        const QPointF at(x, y);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, Picture()->mapToGlobal(at), button, button, Qt::NoModifier);
        QApplication::sendEvent(Picture(), &event);
    }

    // Hovers over the item's button, passing through a point that hits nothing.
    void Select(int32_t item)
    {
        static const QPoint centres[] = {{115, 46}, {281, 46}, {115, 106}, {281, 106},
                                         {115, 166}, {281, 166}, {115, 226}, {198, 282}};
        Mouse(QEvent::MouseMove, 2, 2);
        Mouse(QEvent::MouseMove, centres[item].x(), centres[item].y());
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

TEST_F(FormSubTest, ArrowKeysMoveThroughTheGrid)
{
    struct Step {
        int32_t from;
        int key;
        int32_t to;
    };
    const std::vector<Step> steps = {
        {0, Qt::Key_Up, 7},    {1, Qt::Key_Up, 7},     {2, Qt::Key_Up, 0},    {6, Qt::Key_Up, 4},
        {7, Qt::Key_Up, 5},    {7, Qt::Key_Down, 0},   {6, Qt::Key_Down, 7},  {4, Qt::Key_Down, 6},
        {5, Qt::Key_Down, 7},  {0, Qt::Key_Down, 2},   {0, Qt::Key_Right, 1}, {3, Qt::Key_Left, 2},
        {4, Qt::Key_Left, 5},  {6, Qt::Key_Left, 6},   {7, Qt::Key_Right, 7}, {5, Qt::Key_A, 5},
    };
    for (const Step& step : steps) {
        Select(step.from);
        ASSERT_EQ(panel->SelectedItem(), step.from);
        Press(step.key);
        EXPECT_EQ(panel->SelectedItem(), step.to) << "from " << step.from << " key " << step.key;
    }
    EXPECT_TRUE(module.calls.empty());
}

TEST_F(FormSubTest, EscapeAndZCloseFromAnySelection)
{
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
    EXPECT_EQ(FormSub::HitTestItem(61, 31), 0);
    EXPECT_EQ(FormSub::HitTestItem(169, 61), 0);
    EXPECT_EQ(FormSub::HitTestItem(60, 31), FormSub::NO_ITEM);
    EXPECT_EQ(FormSub::HitTestItem(170, 31), FormSub::NO_ITEM);
    EXPECT_EQ(FormSub::HitTestItem(61, 30), FormSub::NO_ITEM);
    EXPECT_EQ(FormSub::HitTestItem(61, 62), FormSub::NO_ITEM);
    EXPECT_EQ(FormSub::HitTestItem(200, 280), 7);
    EXPECT_EQ(FormSub::HitTestItem(10, 10), FormSub::NO_ITEM);

    // From the start position (0, 0), a pointer 3 pixels away is not tested.
    Mouse(QEvent::MouseMove, 3, 3);
    EXPECT_EQ(panel->SelectedItem(), 0);
    // Item 1 at (228, 32): the first test happens, selecting it.
    Mouse(QEvent::MouseMove, 228, 32);
    EXPECT_EQ(panel->SelectedItem(), 1);
    // Onto item 3 ((226, 90) + 1) is far enough; back within 3 pixels of it is not.
    Mouse(QEvent::MouseMove, 228, 93);
    EXPECT_EQ(panel->SelectedItem(), 3);
    Mouse(QEvent::MouseMove, 231, 90);
    EXPECT_EQ(panel->SelectedItem(), 3);
    Mouse(QEvent::MouseMove, 228, 61);  // 32 up, but the last accepted point is still (228, 93)
    EXPECT_EQ(panel->SelectedItem(), 1);
    Mouse(QEvent::MouseMove, 231, 64);  // three pixels each way: ignored, though on item 1 still
    Mouse(QEvent::MouseMove, 228, 90);  // item 3's top border: tested, hits nothing, keeps 1
    EXPECT_EQ(panel->SelectedItem(), 1);
    Mouse(QEvent::MouseMove, 232, 120); // the fourth pixel and more: tested
    EXPECT_EQ(panel->SelectedItem(), 3);

    Mouse(QEvent::MouseButtonPress, 60, 40);
    Mouse(QEvent::MouseButtonPress, 143, 270);
    EXPECT_TRUE(module.calls.empty());
    EXPECT_TRUE(panel->isVisible());
    Mouse(QEvent::MouseButtonPress, 150, 280);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(panel->SelectedItem(), 7);
}

TEST_F(FormSubTest, ThePanelShowsFramesLabelsAndSwitches)
{
    // Item 0 is highlighted; the label's transparent inside shows the frame.
    EXPECT_EQ(PresentedPixel(60 + 50, 30 + 16), Rgb(kHighlightColor));
    EXPECT_EQ(PresentedPixel(226 + 50, 30 + 16), Rgb(kFrameColor));
    EXPECT_EQ(PresentedPixel(60, 30), Rgb(kLabelBorder));
    EXPECT_EQ(PresentedPixel(10, 10), kPanelBlue);
    EXPECT_EQ(PresentedPixel(385, 298), kPanelBlue);
    // Both switches start off; their indicators sit 45 right and 30 down of the buttons.
    EXPECT_EQ(PresentedPixel(60 + 45 + 1, 150 + 30 + 1), Rgb(kOffColor));
    EXPECT_EQ(PresentedPixel(226 + 45 + 1, 150 + 30 + 1), Rgb(kOffColor));

    Press(Qt::Key_Right);
    EXPECT_EQ(PresentedPixel(60 + 50, 30 + 16), Rgb(kFrameColor));
    EXPECT_EQ(PresentedPixel(226 + 50, 30 + 16), Rgb(kHighlightColor));

    panel->SetAutohint(true);
    Press(Qt::Key_Shift);  // any key repaints
    EXPECT_EQ(PresentedPixel(60 + 45 + 1, 150 + 30 + 1), Rgb(kOnColor));
}

TEST_F(FormSubTest, SwitchesToggleAndTellTheShell)
{
    Mouse(QEvent::MouseButtonPress, 230, 160);
    EXPECT_TRUE(panel->Sound());
    Mouse(QEvent::MouseButtonPress, 230, 160);
    EXPECT_FALSE(panel->Sound());
    panel->SetAutohint(true);
    Mouse(QEvent::MouseButtonPress, 70, 160);
    EXPECT_FALSE(panel->Autohint());
    Mouse(QEvent::MouseButtonPress, 70, 160);
    EXPECT_EQ(module.calls, (std::vector<std::string>{"PanelCommand 51", "PanelCommand 52", "PanelCommand 42",
                                                      "PanelCommand 41"}));
    EXPECT_EQ(PresentedPixel(60 + 45 + 1, 150 + 30 + 1), Rgb(kOnColor));
    EXPECT_TRUE(panel->isVisible());
}

TEST_F(FormSubTest, NewGameHidesThePanelBeforeAskingTheShell)
{
    bool visibleDuringCommand = true;
    module.onPanelCommand = [&](int) { visibleDuringCommand = panel->isVisible(); };
    Press(Qt::Key_Return);
    EXPECT_EQ(module.calls, std::vector<std::string>{"PanelCommand 0"});
    EXPECT_FALSE(visibleDuringCommand);
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(FormSubTest, RestartAsksAndWordsAFailure)
{
    Press(Qt::Key_Right);
    messages.answers = {MessageResult::No};
    Press(Qt::Key_X);
    ASSERT_EQ(messages.requests.size(), 1u);
    ExpectMessage(messages.requests[0], "最初からやり直しますか？", "リスタート",
                  MessageButtons::YesNo, MessageIcon::None);
    EXPECT_TRUE(module.calls.empty());
    EXPECT_TRUE(panel->isVisible());

    module.restartResult = false;
    messages.answers = {MessageResult::Yes};
    Press(Qt::Key_X);
    ASSERT_EQ(messages.requests.size(), 3u);
    ExpectMessage(messages.requests[2], "リスタートできません。", "ゲーム未選択",
                  MessageButtons::Ok, MessageIcon::Warning);
    EXPECT_TRUE(panel->isVisible());

    module.restartResult = true;
    messages.answers = {MessageResult::Yes};
    Press(Qt::Key_X);
    EXPECT_EQ(messages.requests.size(), 4u);
    EXPECT_EQ(module.calls, (std::vector<std::string>{"PanelCommand 1", "PanelCommand 1"}));
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(FormSubTest, SaveAsksWordsFailuresAndStaysOpen)
{
    Press(Qt::Key_Down);
    messages.answers = {MessageResult::Yes};
    Press(Qt::Key_Return);
    ASSERT_EQ(messages.requests.size(), 1u);
    ExpectMessage(messages.requests[0], "セーブしますか？", "セーブ",
                  MessageButtons::YesNo, MessageIcon::None);
    EXPECT_TRUE(panel->isVisible());

    module.saveResult = false;
    messages.answers = {MessageResult::Yes};
    Press(Qt::Key_Return);
    ASSERT_EQ(messages.requests.size(), 3u);
    ExpectMessage(messages.requests[2], "セーブできません。", "ゲーム未選択",
                  MessageButtons::Ok, MessageIcon::Warning);

    messages.answers = {MessageResult::No};
    Press(Qt::Key_Return);
    EXPECT_EQ(module.calls, (std::vector<std::string>{"PanelCommand 2", "PanelCommand 2"}));
    EXPECT_TRUE(panel->isVisible());
}

TEST_F(FormSubTest, AFailingSaveOrLoadShowsItsReason)
{
    module.onPanelCommand = [](int code) {
        if (code == ModuleCommands::PANEL_SAVE)
            throw std::runtime_error("disk full");
        if (code == ModuleCommands::PANEL_LOAD)
            throw std::runtime_error("save.dat is too short");
    };
    Press(Qt::Key_Down);
    messages.answers = {MessageResult::Yes};
    Press(Qt::Key_Return);
    ASSERT_EQ(messages.requests.size(), 2u);
    EXPECT_EQ(messages.requests[1].text, "セーブできません。\ndisk full");
    EXPECT_EQ(messages.requests[1].icon, MessageIcon::Warning);
    EXPECT_TRUE(panel->isVisible());

    WriteSaveFile();
    Press(Qt::Key_Right);
    messages.answers = {MessageResult::Yes};
    Press(Qt::Key_Return);
    ASSERT_EQ(messages.requests.size(), 4u);
    EXPECT_EQ(messages.requests[3].text, "ロードできません。\nsave.dat is too short");
    EXPECT_EQ(messages.requests[3].title, "ファイル読み込みエラー");
}

TEST_F(FormSubTest, LoadWithoutASaveFileNeverAsks)
{
    Press(Qt::Key_Down);
    Press(Qt::Key_Right);
    Press(Qt::Key_Return);
    ASSERT_EQ(messages.requests.size(), 1u);
    ExpectMessage(messages.requests[0], "ロードするファイルがありません", "ファイル読み込みエラー",
                  MessageButtons::Ok, MessageIcon::None);
    EXPECT_TRUE(module.calls.empty());
    EXPECT_TRUE(panel->isVisible());

    // A folder in the file's place cannot be measured as a file either.
    QDir(folder).mkdir(QStringLiteral("save.dat"));
    Press(Qt::Key_Return);
    EXPECT_EQ(messages.requests.size(), 2u);
    EXPECT_TRUE(module.calls.empty());
}

TEST_F(FormSubTest, LoadAsksThenHidesBeforeLoading)
{
    WriteSaveFile();
    Press(Qt::Key_Down);
    Press(Qt::Key_Right);
    messages.answers = {MessageResult::No};
    Press(Qt::Key_Return);
    ASSERT_EQ(messages.requests.size(), 1u);
    ExpectMessage(messages.requests[0], "ロードしますか？", "ロード",
                  MessageButtons::YesNo, MessageIcon::None);
    EXPECT_TRUE(module.calls.empty());
    EXPECT_TRUE(panel->isVisible());

    bool visibleDuringLoad = true;
    module.onPanelCommand = [&](int) { visibleDuringLoad = panel->isVisible(); };
    messages.answers = {MessageResult::Yes};
    Press(Qt::Key_Return);
    EXPECT_EQ(module.calls, std::vector<std::string>{"PanelCommand 3"});
    EXPECT_FALSE(visibleDuringLoad);
}

TEST_F(FormSubTest, WallpaperKeepsThePanelOpen)
{
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    Press(Qt::Key_X);
    EXPECT_EQ(module.calls, std::vector<std::string>{"ChooseWallpaper"});
    EXPECT_TRUE(panel->isVisible());
}

} // namespace
