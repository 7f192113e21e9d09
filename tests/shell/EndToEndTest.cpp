#include "ShellTestSupport.h"

#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(EndToEndTest, PlayingTheAnswerClearsTheBoardWithOneAnimation)
{
    MessageRecorder messages;
    const QString folder = FreshProgramFolder(QStringLiteral("EndToEnd"));
    ModuleMain module(folder, ClassicGame(11) << QStringLiteral("--answer"));
    module.Main();
    ASSERT_EQ(messages.requests.size(), 1U);
    EXPECT_EQ(messages.requests[0].text, "解答作成モード");

    FormMain& form = module.Form();
    PaiCtrl& controller = module.Controller();
    const std::vector<int32_t> answerSlots = AnswerSlots(folder);
    ASSERT_EQ(answerSlots.size(), 144U);
    ASSERT_LT(*std::ranges::max_element(answerSlots), 144) << "every tile of the answer lies on the layout";
    for (size_t i = 0; i + 1 < answerSlots.size(); ++i) {
        ClickTile(form, controller, answerSlots[i]);
        ASSERT_EQ(controller.GetPaiCount(), 144 - static_cast<int32_t>(i + 1) / 2 * 2) << "tile " << i;
    }
    EXPECT_EQ(module.PlayState(), ModuleMain::STATE_PLAYING);

    // Input that comes during the animation's wait: noted, but ignored.
    int32_t stateDuringWait = -1, countAfterPlayback = -1, focusXDuringWait = -1;
    uint32_t clearFigurePixel = 0;
    BoardPoint figure;
    controller.Board().GetClearRect(figure, 0);
    QTimer::singleShot(0, [&] {
        stateDuringWait = module.PlayState();
        clearFigurePixel = BackPixel(module, figure.x + 4 + 20, figure.y + 4 + 28);
        TapKey(form, Qt::Key_Backspace);
        MoveMouse(form, 720, 410);
        SendMouse(form, QEvent::MouseButtonPress, 720, 410, Qt::LeftButton);
        countAfterPlayback = controller.GetPaiCount();
        focusXDuringWait = module.FocusX();
    });
    QElapsedTimer clock;
    clock.start();
    const int32_t focusBefore = PointOnTile(controller, answerSlots.back()).value().x();
    ClickTile(form, controller, answerSlots.back());
    EXPECT_GE(clock.elapsed(), 114 * 1000 / 60 + 800 - 100) << "the animation is paced";

    EXPECT_EQ(stateDuringWait, ModuleMain::STATE_ANIMATING);
    EXPECT_NE(clearFigurePixel, 0x00FF00u) << "the CLEAR figure stands during the wait";
    EXPECT_EQ(countAfterPlayback, 0);
    EXPECT_EQ(form.CursorX, 720) << "the cursor follows the mouse meanwhile";
    EXPECT_EQ(focusXDuringWait, focusBefore) << "but nothing is focused";
    EXPECT_EQ(module.PlayState(), ModuleMain::STATE_CLEARED);
    EXPECT_EQ(controller.GetPaiCount(), 0);

    TapKey(form, Qt::Key_Backspace);
    ASSERT_EQ(controller.GetPaiCount(), 2);
    const int32_t removed = controller.RemovedCount();
    const int32_t again[] = {controller.History()[removed], controller.History()[removed + 1]};
    clock.restart();
    ClickTile(form, controller, again[0]);
    ClickTile(form, controller, again[1]);
    EXPECT_LT(clock.elapsed(), 800) << "no second animation";
    EXPECT_EQ(controller.GetPaiCount(), 0);
    EXPECT_EQ(module.PlayState(), ModuleMain::STATE_CLEARED);
    EXPECT_EQ(module.LastRedrawLevel(), ModuleMain::REDRAW_FULL);
}

} // namespace
