#include "ShellTestSupport.h"

#include "NumberedError.h"

#include <algorithm>

namespace {

class FormMainTest : public testing::Test {
protected:
    void SetUp() override { module = StartModule(TestName(), ClassicGame()); }
    bool Selected(int32_t id) const { return std::ranges::count(controller().Selection(), id) > 0; }
    FormMain& form() const { return module->Form(); }
    PaiCtrl& controller() const { return module->Controller(); }
    void Press(int key, bool repeat = false) { SendKey(form(), QEvent::KeyPress, key, repeat); }
    void Release(int key, bool repeat = false) { SendKey(form(), QEvent::KeyRelease, key, repeat); }
    // A held key as the window system repeats it: release and press with one
    // timestamp, neither flagged as a repeat.
    void RepeatUnflagged(int key)
    {
        const quint64 time = NextKeyTime();
        SendKey(form(), QEvent::KeyRelease, key, false, time);
        SendKey(form(), QEvent::KeyPress, key, false, time);
    }
    void Click(double x, double y, Qt::MouseButton button = Qt::LeftButton)
    {
        MoveMouse(form(), x, y);
        SendMouse(form(), QEvent::MouseButtonPress, x, y, button);
    }

    void RemovePairs(int pairs)
    {
        for (int k = 0; k < pairs; ++k) {
            const auto [first, second] = FreePair(controller());
            ClickTile(form(), controller(), first);
            ClickTile(form(), controller(), second);
        }
    }

    MessageRecorder messages;
    std::unique_ptr<ModuleMain> module;
};

TEST_F(FormMainTest, CursorStaysWithinThePicture)
{
    MoveMouse(form(), 791, 565);
    EXPECT_EQ(Cursor(form()), QPoint(772, 544));
    EXPECT_EQ(QPoint(module->FocusX(), module->FocusY()), QPoint(772, 544));
    MoveMouse(form(), 0, 0);
    TapKey(form(), Qt::Key_Left);
    TapKey(form(), Qt::Key_Up);
    EXPECT_EQ(Cursor(form()), QPoint(8, 8));
    for (int i = 0; i < 60; ++i) {
        Press(Qt::Key_Right, i > 0);
        Press(Qt::Key_Down, true);
    }
    EXPECT_EQ(Cursor(form()), QPoint(772, 544));
}

TEST_F(FormMainTest, HeldArrowsAccelerateUntilAKeyComesUp)
{
    MoveMouse(form(), 100, 100);
    std::vector<int32_t> steps;
    for (int i = 0; i < 12; ++i) {
        const int32_t before = form().CursorX;
        if (i == 0)
            Press(Qt::Key_Right);
        else
            RepeatUnflagged(Qt::Key_Right);
        steps.push_back(form().CursorX - before);
    }
    EXPECT_EQ(steps, (std::vector<int32_t>{9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 29}));
    Release(Qt::Key_Right);
    form().SettleKeyRelease();  // no press followed within the settle time
    EXPECT_FALSE(form().KeyHeld);
    const QPoint before(form().CursorX, form().CursorY);
    Press(Qt::Key_Down);
    Press(Qt::Key_Down, true);
    Press(Qt::Key_Up, true);
    Release(Qt::Key_Up);
    Press(Qt::Key_Left);
    EXPECT_EQ(Cursor(form()), before + QPoint(-9, 10 + 12 - 14));
}

TEST_F(FormMainTest, CommandKeysActOncePerPress)
{
    const int32_t first = FreePair(controller()).first;
    PutCursorOn(form(), controller(), first);
    Press(Qt::Key_X);
    Press(Qt::Key_X, true);
    EXPECT_TRUE(Selected(first)) << "the repeat must not take the selection back";
    Release(Qt::Key_X);
    TapKey(form(), Qt::Key_Return);
    EXPECT_FALSE(Selected(first));

    TapKey(form(), Qt::Key_Enter);
    Press(Qt::Key_Left);
    Press(Qt::Key_Escape);
    EXPECT_TRUE(Selected(first)) << "a command key while another key is down is ignored";
    Release(Qt::Key_Escape);
    TapKey(form(), Qt::Key_Z);
    EXPECT_FALSE(Selected(first));
    TapKey(form(), Qt::Key_H);
    EXPECT_EQ(controller().LastAction(), PaiCtrl::PAI_HINT);

    RemovePairs(2);
    ASSERT_EQ(controller().RemovedCount(), 4);
    Press(Qt::Key_Backspace);
    for (int i = 0; i < 40; ++i)
        RepeatUnflagged(Qt::Key_Backspace);
    Release(Qt::Key_Backspace);
    EXPECT_EQ(controller().RemovedCount(), 2) << "a held Backspace takes back one move";
    Press(Qt::Key_Backspace);
    EXPECT_EQ(controller().RemovedCount(), 0) << "a new press after the release takes back another";
}

TEST_F(FormMainTest, SmallMouseMovesLeaveTheCursorAndClicksActAtTheCursor)
{
    MoveMouse(form(), 300, 300);
    MoveMouse(form(), 302, 298);
    EXPECT_EQ(Cursor(form()), QPoint(300, 300));
    MoveMouse(form(), 302.5, 303);
    EXPECT_EQ(Cursor(form()), QPoint(302, 303)) << "halves round to even";

    const int32_t first = FreePair(controller()).first;
    const QPoint tile = PointOnTile(controller(), first).value();
    MoveMouse(form(), tile.x(), tile.y());
    const int away = tile.y() > 283 ? Qt::Key_Up : Qt::Key_Down;
    while (controller().GetOnMouseID(form().CursorX - 4, form().CursorY - 4) == first)
        TapKey(form(), away);
    SendMouse(form(), QEvent::MouseButtonPress, tile.x(), tile.y(), Qt::LeftButton);
    EXPECT_FALSE(Selected(first)) << "the pointer's place is not the cursor's";

    TapKey(form(), Qt::Key_Escape);
    for (Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton}) {
        ClickTile(form(), controller(), first);
        SendMouse(form(), QEvent::MouseButtonDblClick, form().CursorX, form().CursorY, Qt::LeftButton);
        ASSERT_TRUE(Selected(first)) << "the second press of a double click does nothing";
        SendMouse(form(), QEvent::MouseButtonPress, tile.x(), tile.y(), other);
        EXPECT_FALSE(Selected(first));
    }
}

TEST_F(FormMainTest, ClicksInTheBarHitTheButtonsOnly)
{
    RemovePairs(1);
    for (const QPoint miss : {QPoint(665, 360), QPoint(700, 390), QPoint(700, 460)}) {
        Click(miss.x(), miss.y());
        EXPECT_EQ(controller().LastAction(), 0) << miss.x() << "," << miss.y();
    }
    Click(720, 410);
    EXPECT_EQ(controller().RemovedCount(), 0);
    EXPECT_EQ(controller().LastAction(), PaiCtrl::PAI_PLAYBACK);
    Click(780, 382);
    EXPECT_EQ(controller().LastAction(), PaiCtrl::PAI_HINT);
}

TEST_F(FormMainTest, RedrawLevelFollowsWhatChanged)
{
    const int32_t first = FreePair(controller()).first;
    const QPoint tile = PointOnTile(controller(), first).value();
    MoveMouse(form(), 720, 200);
    // Onto the tile, within it, off it, and from nothing to nothing.
    const std::pair<QPoint, int32_t> moves[] = {{tile, ModuleMain::REDRAW_FOCUS},
                                                {tile - QPoint(0, 4), ModuleMain::REDRAW_COMPOSE},
                                                {{720, 200}, ModuleMain::REDRAW_FOCUS},
                                                {{720, 250}, ModuleMain::REDRAW_COMPOSE}};
    for (const auto& [to, level] : moves) {
        MoveMouse(form(), to.x(), to.y());
        EXPECT_EQ(module->LastRedrawLevel(), level) << to.x() << "," << to.y();
        EXPECT_EQ(module->LastFocusID(), to.x() == 720 ? -1 : first);
    }
    ClickTile(form(), controller(), first);
    EXPECT_EQ(module->LastRedrawLevel(), ModuleMain::REDRAW_FULL);
    Click(720, 200);
    EXPECT_EQ(module->LastRedrawLevel(), ModuleMain::REDRAW_FOCUS) << "a click on nothing redraws nothing";
}

TEST_F(FormMainTest, AtItsFirstSizeTheWindowShowsTheBackSurfacePixelForPixel)
{
    EXPECT_EQ(form().windowTitle(), QStringLiteral("Tovrik"));
    EXPECT_EQ(form().size(), QSize(792, 566));
    EXPECT_EQ(form().picMain->geometry(), QRect(0, 0, 792, 566));
    PutCursorOn(form(), controller(), FreePair(controller()).first);
    EXPECT_EQ(WronglyShownPixels(*module, ShownPicture{}), 0);
    EXPECT_EQ(FormMain::FittedFrame({792, 566}, {8, 30}, {0, 0, 1920, 1080}), QRect(560, 242, 800, 596));
    EXPECT_EQ(FormMain::FittedFrame({792, 566}, {8, 30}, {0, 0, 640, 480}).topLeft(), QPoint(-80, -58));
    EXPECT_EQ(FormMain::FittedFrame({792, 566}, {0, 0}, {1920, 0, 1281, 1024}).topLeft(), QPoint(2164, 229));
}

TEST_F(FormMainTest, ResizedTheWindowShowsThePictureAtAWholeScaleAndMapsThePointerBack)
{
    form().resize(500, 400);
    EXPECT_EQ(form().size(), QSize(792, 566)) << "never smaller than the picture";
    form().resize(1700, 1200);
    ASSERT_EQ(form().picMain->geometry(), QRect(0, 0, 1700, 1200));
    const ShownPicture shown{2, {58, 34}};
    const QPointF corner = shown.At({300, 200}, 1);
    MoveMouse(form(), corner.x(), corner.y());
    EXPECT_EQ(Cursor(form()), QPoint(300, 200));
    EXPECT_EQ(WronglyShownPixels(*module, shown), 0);
    MoveMouse(form(), corner.x() + 4, corner.y() - 4);
    EXPECT_EQ(Cursor(form()), QPoint(300, 200)) << "two picture pixels are within the threshold";

    form().showMaximized();
    TapKey(form(), Qt::Key_F11);
    EXPECT_TRUE(form().isFullScreen());
    TapKey(form(), Qt::Key_F11);
    EXPECT_FALSE(form().isFullScreen());
    EXPECT_TRUE(form().isMaximized()) << "leaving full screen goes back to maximised";
}

TEST_F(FormMainTest, SizeMaximisedAndFullScreenComeBackAtTheNextStart)
{
    // Larger than the picture, smaller than the headless screen: a remembered size is fitted to the screen.
    const QSize plain(796, 580);
    form().resize(plain);
    form().showMaximized();
    TapKey(form(), Qt::Key_F11);
    module.reset();
    module = StartModule(TestName(), ClassicGame());
    EXPECT_TRUE(form().isMaximized());
    EXPECT_TRUE(form().isFullScreen());
    form().showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(form().size(), plain);
    module.reset();
    module = StartModule(TestName(), ClassicGame());
    QCoreApplication::processEvents();
    EXPECT_FALSE(form().isMaximized() || form().isFullScreen());
    EXPECT_EQ(form().size(), plain);
    // Centred, as nothing moved it (give or take the frame, unknown before the first showing).
    EXPECT_LE((form().frameGeometry().center() - form().screen()->geometry().center()).manhattanLength(), 8);
}

TEST_F(FormMainTest, HandlerErrorsReachThePlayerNotTheEventLoop)
{
    form().Guarded([] { throw NumberedError(NumberedError::FileNotFound, "save.dat"); });
    ASSERT_EQ(messages.requests.size(), 1U);
    EXPECT_NE(messages.requests[0].text.find("File not found (error 53): save.dat"), std::string::npos);
    EXPECT_EQ(messages.requests[0].icon, MessageIcon::Critical);

    bool visibleInside = false;
    form().Guarded([&] {
        form().close();
        visibleInside = form().isVisible();
    });
    EXPECT_TRUE(visibleInside) << "a close during a handler waits for it";
    EXPECT_FALSE(form().isVisible());
}

} // namespace
