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

    // Input during the animation is kept and acted on in order once it ends:
    // the window's cursor follows the mouse meanwhile, nothing else moves.
    QElapsedTimer clock;
    clock.start();
    const int32_t focusBefore = PointOnTile(controller, answerSlots.back()).value().x();
    ClickTile(form, controller, answerSlots.back());
    ASSERT_EQ(module.PlayState(), ModuleMain::STATE_ANIMATING) << "the click returns with the animation running";
    auto menuShown = std::make_shared<QString>();
    HideModalWhenOpen(menuShown);
    TapKey(form, Qt::Key_Backspace);
    MoveMouse(form, 720, 410);
    SendMouse(form, QEvent::MouseButtonPress, 720, 410, Qt::LeftButton);
    TapKey(form, Qt::Key_Q);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "no menu in the middle of the animation";
    EXPECT_EQ(controller.GetPaiCount(), 0);
    EXPECT_EQ(form.Cursor().x(), 720) << "the cursor follows the mouse meanwhile";
    EXPECT_EQ(module.FocusX(), focusBefore) << "but nothing is focused";

    FinishClearAnimation(module);
    EXPECT_GE(clock.elapsed(), 114 * 1000 / 60 + 800 - 100) << "the animation is paced";
    ASSERT_EQ(messages.requests.size(), 2U);
    EXPECT_EQ(messages.requests[1].title, "クリア") << "the win is told after the last frame";
    EXPECT_EQ(controller.GetPaiCount(), 4) << "the key and the button each took a move back";
    EXPECT_EQ(module.FocusX(), 720);
    EXPECT_EQ(*menuShown, QStringLiteral("FormSub")) << "Q opened the menu after them";

    const int32_t removed = controller.RemovedCount();
    for (int32_t k = 0; k < 4; ++k) {
        ClickTile(form, controller, controller.History()[removed + k]);
        EXPECT_FALSE(module.Animating()) << "no second animation";
    }
    EXPECT_EQ(controller.GetPaiCount(), 0);
    EXPECT_EQ(module.PlayState(), ModuleMain::STATE_CLEARED);
    EXPECT_EQ(module.LastRedrawLevel(), ModuleMain::REDRAW_FULL);
}

} // namespace
