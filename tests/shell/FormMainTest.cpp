#include "ShellTestSupport.h"

#include "MapCtrl.h"
#include "NumberedError.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A place in the bar beside the buttons: no tile, no button.
const QPoint kAside(720, 250);

class FormMainTest : public testing::Test {
protected:
    void SetUp() override
    {
        module = StartModule(QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name()),
                             ClassicGame());
    }

    FormMain& Form() { return module->Form(); }
    PaiCtrl& Controller() { return module->Controller(); }
    bool Selected(int32_t id)
    {
        const std::vector<int32_t>& selection = Controller().Selection();
        return std::find(selection.begin(), selection.end(), id) != selection.end();
    }
    void PutCursorOn(int32_t id)
    {
        const QPoint at = PointOnTile(Controller(), id).value();
        MoveMouse(Form(), kAside.x(), kAside.y());
        MoveMouse(Form(), at.x(), at.y());
    }

    MessageRecorder messages;
    std::unique_ptr<ModuleMain> module;
};

TEST_F(FormMainTest, CursorStaysWithinThePicture)
{
    MoveMouse(Form(), 2000, 2000);
    EXPECT_EQ(Form().CursorX, 772);
    EXPECT_EQ(Form().CursorY, 544);
    EXPECT_EQ(module->FocusX(), 772);
    EXPECT_EQ(module->FocusY(), 544);
    MoveMouse(Form(), -40, -40);
    EXPECT_EQ(Form().CursorX, 8);
    EXPECT_EQ(Form().CursorY, 8);
    for (int i = 0; i < 3; ++i) {
        TapKey(Form(), Qt::Key_Left);
        TapKey(Form(), Qt::Key_Up);
    }
    EXPECT_EQ(Form().CursorX, 8);
    EXPECT_EQ(Form().CursorY, 8);
    for (int i = 0; i < 60; ++i) {
        PressKey(Form(), Qt::Key_Right, i > 0);
        PressKey(Form(), Qt::Key_Down, true);
    }
    EXPECT_EQ(Form().CursorX, 772);
    EXPECT_EQ(Form().CursorY, 544);
}

TEST_F(FormMainTest, HeldArrowsAccelerateUntilAKeyComesUp)
{
    MoveMouse(Form(), 100, 100);
    std::vector<int32_t> steps;
    for (int i = 0; i < 12; ++i) {
        const int32_t before = Form().CursorX;
        if (i > 0)
            ReleaseKey(Form(), Qt::Key_Right, true); // the window system's repeat comes as release and press
        PressKey(Form(), Qt::Key_Right, i > 0);
        steps.push_back(Form().CursorX - before);
    }
    EXPECT_EQ(steps, (std::vector<int32_t>{9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 29}));
    EXPECT_EQ(Form().KeyRepeat, FormMain::kMaxKeyRepeat);

    ReleaseKey(Form(), Qt::Key_Right);
    EXPECT_EQ(Form().KeyRepeat, 0);
    EXPECT_FALSE(Form().KeyHeld);
    const int32_t top = Form().CursorY;
    PressKey(Form(), Qt::Key_Down);
    PressKey(Form(), Qt::Key_Down, true);
    PressKey(Form(), Qt::Key_Up, true);
    EXPECT_EQ(Form().CursorY, top + 10 + 12 - 14);
    ReleaseKey(Form(), Qt::Key_Up);
    PressKey(Form(), Qt::Key_Left);
    EXPECT_EQ(Form().CursorX, 100 + 9 + 11 + 13 + 15 + 17 + 19 + 21 + 23 + 25 + 27 + 29 + 29 - 9);
}

TEST_F(FormMainTest, CommandKeysActOncePerPress)
{
    const auto [first, second] = FreePair(Controller());
    ASSERT_GE(first, 0);
    PutCursorOn(first);
    PressKey(Form(), Qt::Key_X);
    PressKey(Form(), Qt::Key_X, true);
    EXPECT_TRUE(Selected(first)) << "the repeat must not take the selection back";
    ReleaseKey(Form(), Qt::Key_X);
    TapKey(Form(), Qt::Key_Return);
    EXPECT_FALSE(Selected(first));

    TapKey(Form(), Qt::Key_Enter);
    ASSERT_TRUE(Selected(first));
    PressKey(Form(), Qt::Key_Left);
    PressKey(Form(), Qt::Key_Escape);
    EXPECT_TRUE(Selected(first)) << "a command key while another key is down is ignored";
    ReleaseKey(Form(), Qt::Key_Escape);
    PutCursorOn(first);
    TapKey(Form(), Qt::Key_Z);
    EXPECT_FALSE(Selected(first));

    TapKey(Form(), Qt::Key_H);
    EXPECT_EQ(Controller().LastAction(), PaiCtrl::PAI_HINT);

    TapKey(Form(), Qt::Key_X);
    PutCursorOn(second);
    TapKey(Form(), Qt::Key_X);
    const auto [third, fourth] = FreePair(Controller());
    ClickTile(Form(), Controller(), third);
    ClickTile(Form(), Controller(), fourth);
    ASSERT_EQ(Controller().RemovedCount(), 4);
    PressKey(Form(), Qt::Key_Backspace);
    PressKey(Form(), Qt::Key_Backspace, true);
    ReleaseKey(Form(), Qt::Key_Backspace);
    EXPECT_EQ(Controller().RemovedCount(), 2);
}

TEST_F(FormMainTest, MouseMovesOfTwoPixelsOrLessLeaveTheCursor)
{
    MoveMouse(Form(), 300, 300);
    MoveMouse(Form(), 302, 298);
    EXPECT_EQ(Form().CursorX, 300);
    EXPECT_EQ(Form().CursorY, 300);
    MoveMouse(Form(), 300, 303);
    EXPECT_EQ(Form().CursorY, 303);
    MoveMouse(Form(), 302.5, 303);
    EXPECT_EQ(Form().CursorX, 300) << "302.5 rounds to 302, halves to even";
    MoveMouse(Form(), 303.5, 303);
    EXPECT_EQ(Form().CursorX, 304);
}

TEST_F(FormMainTest, ClicksActAtTheGameCursorAndOtherButtonsCancel)
{
    const int32_t first = FreePair(Controller()).first;
    const QPoint tile = PointOnTile(Controller(), first).value();
    MoveMouse(Form(), tile.x(), tile.y());
    const int away = tile.y() > 283 ? Qt::Key_Up : Qt::Key_Down;
    while (Controller().GetOnMouseID(Form().CursorX - 4, Form().CursorY - 4) == first)
        TapKey(Form(), away);
    PressMouse(Form(), Qt::LeftButton, tile.x(), tile.y());
    EXPECT_FALSE(Selected(first)) << "the pointer's place is not the cursor's";
    TapKey(Form(), Qt::Key_Escape);

    ClickTile(Form(), Controller(), first);
    ASSERT_TRUE(Selected(first));
    PressMouse(Form(), Qt::RightButton);
    EXPECT_FALSE(Selected(first));
    ClickTile(Form(), Controller(), first);
    PressMouse(Form(), Qt::MiddleButton);
    EXPECT_FALSE(Selected(first));
}

TEST_F(FormMainTest, ClicksInTheBarHitTheButtonsOnly)
{
    const auto [first, second] = FreePair(Controller());
    ClickTile(Form(), Controller(), first);
    ClickTile(Form(), Controller(), second);
    ASSERT_EQ(Controller().RemovedCount(), 2);

    for (const QPoint miss : {QPoint(665, 360), QPoint(700, 390), QPoint(700, 460)}) {
        MoveMouse(Form(), miss.x(), miss.y());
        PressMouse(Form(), Qt::LeftButton);
        EXPECT_EQ(Controller().LastAction(), 0) << miss.x() << "," << miss.y();
    }
    MoveMouse(Form(), 720, 410);
    PressMouse(Form(), Qt::LeftButton);
    EXPECT_EQ(Controller().RemovedCount(), 0);
    EXPECT_EQ(Controller().LastAction(), PaiCtrl::PAI_PLAYBACK);
    MoveMouse(Form(), 780, 382);
    PressMouse(Form(), Qt::LeftButton);
    EXPECT_EQ(Controller().LastAction(), PaiCtrl::PAI_HINT);
}

TEST_F(FormMainTest, RedrawLevelFollowsWhatChanged)
{
    const int32_t first = FreePair(Controller()).first;
    const QPoint tile = PointOnTile(Controller(), first).value();
    MoveMouse(Form(), 720, 200);
    MoveMouse(Form(), tile.x(), tile.y());
    EXPECT_EQ(module->LastRedrawLevel(), ModuleMain::REDRAW_FOCUS);
    EXPECT_EQ(module->LastFocusID(), first);
    for (int dy : {3, 6}) {
        MoveMouse(Form(), tile.x(), tile.y() - dy);
        ASSERT_EQ(module->LastFocusID(), first);
        EXPECT_EQ(module->LastRedrawLevel(), ModuleMain::REDRAW_COMPOSE);
    }
    MoveMouse(Form(), 720, 200);
    EXPECT_EQ(module->LastRedrawLevel(), ModuleMain::REDRAW_FOCUS);
    EXPECT_LT(module->LastFocusID(), 0);
    MoveMouse(Form(), 720, 250);
    EXPECT_EQ(module->LastRedrawLevel(), ModuleMain::REDRAW_COMPOSE);

    ClickTile(Form(), Controller(), first);
    EXPECT_EQ(module->LastRedrawLevel(), ModuleMain::REDRAW_FULL);
    MoveMouse(Form(), 720, 200);
    PressMouse(Form(), Qt::LeftButton);
    EXPECT_EQ(module->LastRedrawLevel(), ModuleMain::REDRAW_FOCUS) << "a click on nothing redraws nothing";
}

// The counter over the backdrop, as the sheet's glyph with its red left out.
void ExpectDigit(const ModuleMain& module, int digit, int x)
{
    const PixelSurface& hud = *module.Layer().SpriteSurface(module.SurfaceSet().Hud);
    for (int dy = 0; dy < 22; ++dy)
        for (int dx = 0; dx < 12; ++dx) {
            const uint32_t glyph = hud.Pixel(21 + 12 * digit + dx, dy) & 0xFFFFFF;
            const uint32_t expected = glyph == 0xFF0000 ? 0x3399FF : glyph;
            ASSERT_EQ(BackPixel(module, x + dx, 60 + dy), expected) << "digit " << digit << " at " << x;
        }
}

TEST_F(FormMainTest, CounterShowsTheTilesLeft)
{
    ExpectDigit(*module, 1, 700);
    ExpectDigit(*module, 4, 715);
    ExpectDigit(*module, 4, 730);
    const auto [first, second] = FreePair(Controller());
    ClickTile(Form(), Controller(), first);
    ClickTile(Form(), Controller(), second);
    ExpectDigit(*module, 2, 730);
}

TEST_F(FormMainTest, WindowKeepsItsFixedCentredSize)
{
    EXPECT_EQ(Form().windowTitle(), QStringLiteral("Tovrik"));
    EXPECT_EQ(Form().size(), QSize(792, 566));
    EXPECT_EQ(Form().picMain->geometry(), QRect(0, 0, 792, 566));
    Form().resize(900, 700);
    EXPECT_EQ(Form().size(), QSize(792, 566));

    const QRect wide = FormMain::FittedFrame({792, 566}, {8, 30}, {0, 0, 1920, 1080});
    EXPECT_EQ(wide, QRect(560, 242, 800, 596));
    const QRect small = FormMain::FittedFrame({792, 566}, {8, 30}, {0, 0, 640, 480});
    EXPECT_EQ(small.topLeft(), QPoint(-80, -58));
    const QRect second = FormMain::FittedFrame({792, 566}, {0, 0}, {1920, 0, 1281, 1024});
    EXPECT_EQ(second.topLeft(), QPoint(1920 + 244, 229));
}

TEST_F(FormMainTest, HandlerErrorsReachThePlayerNotTheEventLoop)
{
    Form().Guarded([] { throw NumberedError(NumberedError::FileNotFound, "save.dat"); });
    ASSERT_EQ(messages.requests.size(), 1U);
    EXPECT_NE(messages.requests[0].text.find("File not found"), std::string::npos);
    EXPECT_NE(messages.requests[0].text.find("save.dat"), std::string::npos);
    EXPECT_EQ(messages.requests[0].icon, MessageIcon::Critical);

    bool visibleInside = false;
    Form().Guarded([&] {
        Form().close();
        visibleInside = Form().isVisible();
    });
    EXPECT_TRUE(visibleInside) << "a close during a handler waits for it";
    EXPECT_FALSE(Form().isVisible());
}

} // namespace
