// The game on large screens (offscreen screens of 2560 × 1440 and 3840 × 2160)
// with whole-number pixel scaling chosen: maximised at 2×, full screen at 3×,
// played to the end by mouse.

#include "ShellTestSupport.h"

#include "FormQues.h"
#include "FormSub.h"

#include <QGuiApplication>
#include <QTimer>

namespace {

QScreen* ScreenOfSize(QSize size)
{
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->geometry().size() == size)
            return screen;
    return nullptr;
}

class LargeScreenTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder = FreshProgramFolder();
        module = std::make_unique<ModuleMain>(folder, ClassicGame(11) << QStringLiteral("--answer")
                                                                      << QStringLiteral("--scaling=pixel"));
        module->Main();
    }

    // Plays the whole answer by mouse; the last set runs the clear animation.
    void PlayToTheEnd(const ShownPicture& shown)
    {
        const std::vector<int32_t> answer = AnswerSlots(folder);
        ASSERT_EQ(answer.size(), 144U);
        PlayByMouse(form(), controller(), shown, answer);
        FinishClearAnimation(*module);
        EXPECT_EQ(controller().GetPaiCount(), 0);
        EXPECT_EQ(module->PlayState(), ModuleMain::STATE_CLEARED);
    }

    FormMain& form() const { return module->Form(); }
    PaiCtrl& controller() const { return module->Controller(); }

    MessageRecorder messages;
    QString folder;
    std::unique_ptr<ModuleMain> module;
};

TEST_F(LargeScreenTest, MaximisedOnA2560By1440ScreenShowsExactDoubleBlocksAndPlaysByMouse)
{
    QScreen* screen = ScreenOfSize({2560, 1440});
    ASSERT_NE(screen, nullptr);
    form().setScreen(screen);
    form().showMaximized();
    ASSERT_EQ(form().geometry(), screen->availableGeometry());
    const ShownPicture shown{2, {488, 154}};
    ASSERT_EQ(form().Picture().Fit().scale, shown.scale);
    ASSERT_EQ(form().Picture().PictureAt(QPointF(shown.origin)), QPoint(0, 0));

    const int32_t first = FreePair(controller()).first;
    const QPointF tile = shown.At(PointOnTile(controller(), first).value(), 1);
    SendMouse(form(), QEvent::MouseMove, tile.x(), tile.y());
    EXPECT_EQ(WronglyShownPixels(*module, shown), 0) << "the cursor and a focused tile, at 2× exactly";

    // Four screen pixels are two picture pixels: within the threshold.
    const QPoint cursor = Cursor(form());
    SendMouse(form(), QEvent::MouseMove, tile.x() + 4, tile.y() - 4);
    EXPECT_EQ(Cursor(form()), cursor);
    SendMouse(form(), QEvent::MouseMove, tile.x() + 6, tile.y());
    EXPECT_EQ(Cursor(form()), cursor + QPoint(3, 0));

    // Around the picture the pointer is off the board and the bar.
    SendMouse(form(), QEvent::MouseMove, 100, 700);
    SendMouse(form(), QEvent::MouseButtonPress, 100, 700, Qt::LeftButton);
    SendMouse(form(), QEvent::MouseMove, 2500, 700);
    SendMouse(form(), QEvent::MouseButtonPress, 2500, 700, Qt::LeftButton);
    EXPECT_EQ(Cursor(form()), cursor + QPoint(3, 0));
    EXPECT_EQ(std::ranges::count(controller().Selection(), first), 0);
    EXPECT_EQ(form().Picture().cursor().shape(), Qt::ArrowCursor);

    PlayToTheEnd(shown);
    EXPECT_EQ(form().Picture().cursor().shape(), Qt::BlankCursor);
}

TEST_F(LargeScreenTest, FullScreenOnA3840By2160ScreenPlaysAt3xWithThePanelAndDialogOverTheWindow)
{
    QScreen* screen = ScreenOfSize({3840, 2160});
    ASSERT_NE(screen, nullptr);
    form().setScreen(screen);
    form().move(screen->geometry().topLeft() + QPoint(300, 200));
    TapKey(form(), Qt::Key_F11);
    ASSERT_TRUE(form().isFullScreen());
    ASSERT_EQ(form().geometry(), screen->geometry());
    const ShownPicture shown{3, {732, 231}};
    ASSERT_EQ(form().Picture().Fit().scale, shown.scale);

    // The panel opens at 3× in the window's corner and is worked at that
    // scale; its new game opens the selection dialog centred on the window.
    QRect panelGeometry, dialogGeometry;
    QTimer::singleShot(0, [&] {
        auto* panel = qobject_cast<FormSub*>(QApplication::activeModalWidget());
        ASSERT_NE(panel, nullptr);
        panelGeometry = panel->geometry();
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<FormQues*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialogGeometry = dialog->geometry();
            dialog->reject();
        });
        auto* picture = panel->findChild<QWidget*>(QStringLiteral("picMain"));
        // The new game button spans (60, 30) to (170, 62) in panel pixels.
        const QPointF newGame(3 * 61 + 2, 3 * 31);
        QMouseEvent press(QEvent::MouseButtonPress, newGame, picture->mapToGlobal(newGame), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(picture, &press);
    });
    TapKey(form(), Qt::Key_Q);
    EXPECT_EQ(panelGeometry, QRect(screen->geometry().topLeft(), QSize(390, 302) * 3));
    EXPECT_EQ(dialogGeometry.center(), form().geometry().center());

    PlayToTheEnd(shown);
    EXPECT_EQ(WronglyShownPixels(*module, shown), 0);
    TapKey(form(), Qt::Key_F11);
    EXPECT_FALSE(form().isFullScreen());
}

} // namespace
