#include "ShellTestSupport.h"

#include "EndOfGame.h"
#include "FormQues.h"
#include "HelpWindow.h"
#include "Settings.h"
#include "StatusPainter.h"

#include <QLabel>

#include <tuple>

namespace {

void SendChord(FormMain& form, int qtKey, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent press(QEvent::KeyPress, qtKey, modifiers);
    press.setTimestamp(NextKeyTime());
    QApplication::sendEvent(&form, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, modifiers);
    release.setTimestamp(NextKeyTime());
    QApplication::sendEvent(&form, &release);
}

void SendActivation(FormMain& form)
{
    QEvent event(QEvent::WindowActivate);
    QApplication::sendEvent(&form, &event);
}

// Pixels of the status area that are not the backdrop's blue.
int InkInStatus(const ModuleMain& module)
{
    int ink = 0;
    const QRect area = StatusPainter::kArea;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ink += BackPixel(module, x, y) != 0x3399FFu;
    return ink;
}

std::vector<uint32_t> StatusPixels(const ModuleMain& module)
{
    std::vector<uint32_t> pixels;
    const QRect area = StatusPainter::kArea;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            pixels.push_back(BackPixel(module, x, y));
    return pixels;
}

class PlayKeysTest : public testing::Test {
protected:
    void SetUp() override
    {
        module = StartModule(TestName(), ClassicGame());
        module->Ending().UseClock([this] { return now; });
        SendActivation(form());
        MoveMouse(form(), 720, 250);
    }
    FormMain& form() const { return module->Form(); }
    PaiCtrl& controller() const { return module->Controller(); }
    void TakePair()
    {
        const auto [first, second] = FreePair(controller());
        ClickTile(form(), controller(), first);
        ClickTile(form(), controller(), second);
        MoveMouse(form(), 720, 250);
    }
    std::vector<int16_t> Present() const
    {
        std::vector<int16_t> present;
        for (int32_t id = 0; id < controller().Board().MaxID(); ++id)
            present.push_back(controller().Board().Slot(id).Validity);
        return present;
    }

    int64_t now = 0;
    MessageRecorder messages;
    std::unique_ptr<ModuleMain> module;
};

TEST_F(PlayKeysTest, StatusShowsTimeAndSetsChangingAfterAMoveAndASecondAndTheSettingHidesIt)
{
    ASSERT_TRUE(module->StatusShown());
    EXPECT_GT(InkInStatus(*module), 20) << "the figures are written above the buttons";
    const StatusFigures first = module->CurrentStatus();
    const std::vector<uint32_t> firstPixels = StatusPixels(*module);
    TakePair();
    EXPECT_NE(module->CurrentStatus().takeableSets, first.takeableSets);
    EXPECT_NE(StatusPixels(*module), firstPixels);

    const std::vector<uint32_t> afterMove = StatusPixels(*module);
    now += 1'000;
    EXPECT_EQ(module->CurrentStatus().playedMs, 1'000);
    module->RedrawScreen(ModuleMain::REDRAW_COMPOSE);
    EXPECT_NE(StatusPixels(*module), afterMove) << "the time goes on";

    Settings(Settings::DefaultFilePath()).SetStatusShown(false);
    const auto hidden = StartModule(TestName() + QStringLiteral("Hidden"), ClassicGame());
    EXPECT_FALSE(hidden->StatusShown());
    EXPECT_EQ(InkInStatus(*hidden), 0);
}

TEST_F(PlayKeysTest, RedoAfterThreeTakeBacksRestoresTheBoardAndANewMoveClearsIt)
{
    for (int k = 0; k < 4; ++k)
        TakePair();
    const std::vector<int16_t> played = Present();
    for (int k = 0; k < 3; ++k)
        SendChord(form(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(controller().RemovedCount(), 2);
    SendChord(form(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    SendChord(form(), Qt::Key_Y, Qt::ControlModifier);
    SendChord(form(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Present(), played);
    EXPECT_EQ(controller().RemovedCount(), 8);

    TapKey(form(), Qt::Key_Backspace);
    TakePair();
    const int32_t removed = controller().RemovedCount();
    SendChord(form(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(controller().RemovedCount(), removed) << "a new move forgets redo";
}

TEST_F(PlayKeysTest, PauseHidesTheTilesStopsTheClockAndTheResumingKeyDoesNothingElse)
{
    const QPoint tile = PointOnTile(controller(), FreePair(controller()).first).value();
    const uint32_t tilePixel = BackPixel(*module, tile.x(), tile.y());
    ASSERT_NE(tilePixel, 0x00FF00u);
    TapKey(form(), Qt::Key_P);
    ASSERT_TRUE(module->Paused());
    EXPECT_EQ(BackPixel(*module, tile.x(), tile.y()) , 0x00FF00u) << "the plain wallpaper hides the tiles";
    now += 5'000;
    EXPECT_EQ(module->Ending().PlayedMs(), 0);

    TapKey(form(), Qt::Key_H);
    EXPECT_FALSE(module->Paused());
    EXPECT_NE(controller().LastAction(), PaiCtrl::PAI_HINT) << "the key that resumes shows no hint";
    EXPECT_EQ(BackPixel(*module, tile.x(), tile.y()), tilePixel);
    now += 1'000;
    EXPECT_EQ(module->Ending().PlayedMs(), 1'000);

    TapKey(form(), Qt::Key_Pause);
    SendMouse(form(), QEvent::MouseButtonPress, tile.x(), tile.y(), Qt::LeftButton);
    EXPECT_FALSE(module->Paused());
    EXPECT_TRUE(std::ranges::all_of(controller().Selection(), [](int32_t id) { return id < 0; }))
        << "the click that resumes takes no tile";
}

TEST_F(PlayKeysTest, EveryShortcutRunsItsCommandAndCtrlNeverBlocksTheNextKey)
{
    TakePair();
    QString opened;
    const auto closeNextDialog = [&opened] {
        QTimer::singleShot(0, [&opened] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                opened = dialog->metaObject()->className();
                dialog->hide();
            }
        });
    };
    closeNextDialog();
    SendChord(form(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(opened, QStringLiteral("FormQues"));
    closeNextDialog();
    TapKey(form(), Qt::Key_F1);
    EXPECT_EQ(opened, QStringLiteral("HelpWindow"));

    const auto lastText = [this] { return messages.requests.empty() ? std::string() : messages.requests.back().text; };
    for (const auto& [key, modifiers, question] : std::vector<std::tuple<int, Qt::KeyboardModifiers, std::string>>{
             {Qt::Key_F5, {}, "最初からやり直しますか？"},
             {Qt::Key_R, Qt::ControlModifier, "最初からやり直しますか？"},
             {Qt::Key_S, Qt::ControlModifier, "セーブしますか？"},
             {Qt::Key_Q, Qt::ControlModifier, "ゲームを終了しますか？"}}) {
        messages.requests.clear();
        SendChord(form(), key, modifiers);
        EXPECT_EQ(lastText(), question) << key;
    }
    EXPECT_TRUE(form().isVisible()) << "the quit question was not answered yes";
    messages.requests.clear();
    SendChord(form(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(lastText(), "ロードするファイルがありません");

    const int32_t removed = controller().RemovedCount();
    SendChord(form(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(controller().RemovedCount(), removed - 2);
    TapKey(form(), Qt::Key_F6);
    EXPECT_EQ(module->Ending().Shuffles(), 1);
    TapKey(form(), Qt::Key_P);
    EXPECT_TRUE(module->Paused());
    TapKey(form(), Qt::Key_Space);

    // Ctrl held down (its press alone) never makes the next key a second key.
    SendKey(form(), QEvent::KeyPress, Qt::Key_Control);
    TapKey(form(), Qt::Key_H);
    EXPECT_EQ(controller().LastAction(), PaiCtrl::PAI_HINT);
    const int32_t first = FreePair(controller()).first;
    PutCursorOn(form(), controller(), first);
    TapKey(form(), Qt::Key_X);
    TapKey(form(), Qt::Key_Z);
    EXPECT_TRUE(std::ranges::all_of(controller().Selection(), [](int32_t id) { return id < 0; }))
        << "Z alone still drops the selection";
}

TEST(HelpWindowTest, PicturesComeFromTheTileSheetAndTheKeysAreListed)
{
    const QImage sheet(QStringLiteral(":/sheets/tiles.png"));
    const QImage tiles = HelpWindow::DrawTiles(sheet, {{0, 1, 0, 0}, {-1, 0, 40, 0}});
    EXPECT_EQ(tiles.size(), QSize(83, 57));
    EXPECT_EQ(tiles.pixelColor(20, 20).rgb() & 0xFFFFFF, sheet.pixelColor(20, 20).rgb() & 0xFFFFFF)
        << "the face is the sheet's";
    EXPECT_EQ(qAlpha(tiles.pixel(82, 0)), 0) << "the key colour stays transparent";

    HelpWindow help(sheet, {{QStringLiteral("F1"), QStringLiteral("help")}});
    int pictures = 0;
    bool keysListed = false;
    for (const QLabel* label : help.findChildren<QLabel*>()) {
        pictures += !label->pixmap().isNull();
        keysListed = keysListed || label->text().contains(QStringLiteral("<b>F1</b>"));
    }
    EXPECT_EQ(pictures, 3);
    EXPECT_TRUE(keysListed);
}

} // namespace
