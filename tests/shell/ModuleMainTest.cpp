#include "ShellTestSupport.h"

#include "NumberedError.h"

#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QString TestName()
{
    return QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name());
}

TEST(ModuleMainTest, StartUpBuildsTheSixSurfacesInOrder)
{
    MessageRecorder messages;
    const auto module = StartModule(TestName(), {});
    const ModuleMain::SurfaceNumbers& set = module->SurfaceSet();
    EXPECT_EQ(std::vector<int32_t>({set.Tiles, set.TilesOnWhite, set.Work, set.Hud, set.Wall, set.Backdrop}),
              std::vector<int32_t>({1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(module->SheetRects().TilesRect.Right, 370);
    EXPECT_EQ(module->SheetRects().TilesRect.Bottom, 363);
    EXPECT_EQ(module->SheetRects().HudRect.Right, 221);
    EXPECT_EQ(module->SheetRects().HudRect.Bottom, 302);

    const DX7Draw& layer = module->Layer();
    const PixelSurface& tiles = *layer.SpriteSurface(set.Tiles);
    const PixelSurface& onWhite = *layer.SpriteSurface(set.TilesOnWhite);
    int transparent = 0;
    for (int y = 0; y < tiles.Height(); ++y)
        for (int x = 0; x < tiles.Width(); ++x) {
            const uint32_t pixel = tiles.Pixel(x, y) & 0xFFFFFF;
            transparent += pixel == 0xFF00FF;
            ASSERT_EQ(onWhite.Pixel(x, y) & 0xFFFFFF, pixel == 0xFF00FF ? 0xFFFFFFu : pixel) << x << "," << y;
        }
    EXPECT_GT(transparent, 0);
    EXPECT_EQ(layer.SpriteSurface(set.Backdrop)->Pixel(400, 300) & 0xFFFFFF, 0x3399FFu);
    EXPECT_EQ(layer.SpriteSurface(set.Wall)->Pixel(300, 300) & 0xFFFFFF, 0x00FF00u) << "plain wallpaper";

    // The first picture: backdrop, board, counter 0, no cursor, no game.
    EXPECT_EQ(module->LastRedrawLevel(), ModuleMain::REDRAW_FULL);
    EXPECT_EQ(BackPixel(*module, 2, 2), 0x3399FFu);
    EXPECT_EQ(BackPixel(*module, 300, 300), 0x00FF00u);
    EXPECT_FALSE(module->Controller().GameActive());
    EXPECT_FALSE(module->AnswerMode());
    EXPECT_TRUE(messages.requests.empty());
    EXPECT_EQ(module->PlayState(), ModuleMain::STATE_PLAYING);
}

TEST(ModuleMainTest, AnswerModeIsAnnouncedAndHandedToTheController)
{
    MessageRecorder messages;
    const auto module = StartModule(TestName(), {QStringLiteral("/Answer")});
    EXPECT_TRUE(module->AnswerMode());
    EXPECT_TRUE(module->Controller().MakeAnswer());
    ASSERT_EQ(messages.requests.size(), 1U);
    EXPECT_EQ(messages.requests[0].text, "解答作成モード");
    EXPECT_EQ(messages.requests[0].title, "Tovrik");
    EXPECT_EQ(messages.requests[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(messages.requests[0].icon, MessageIcon::None);

    const auto plain = StartModule(TestName() + QStringLiteral("Off"), {QStringLiteral("/answer"), QStringLiteral("x")});
    EXPECT_FALSE(plain->Controller().MakeAnswer());
    EXPECT_EQ(messages.requests.size(), 1U);
}

TEST(ModuleMainTest, CommandLineGameStartsAtOnceWithTheLayoutsCaption)
{
    MessageRecorder messages;
    const auto module = StartModule(TestName(), ClassicGame(42));
    EXPECT_TRUE(module->Controller().GameActive());
    EXPECT_EQ(module->Controller().GetPaiCount(), 144);
    const QuestionInfo question = module->CurrentQuestion();
    EXPECT_EQ(question[0], QStringLiteral("classic.tvm"));
    EXPECT_EQ(question[1], QStringLiteral("42"));
    EXPECT_EQ(question[2], QStringLiteral("0"));
    EXPECT_FALSE(question[3].isEmpty());
    EXPECT_FALSE(question[3].contains(QChar(u'\0')));

    const auto same = StartModule(TestName() + QStringLiteral("Again"), ClassicGame(42));
    for (int32_t id = 0; id < 144; ++id)
        ASSERT_EQ(same->Controller().Board().PaiIndex(id), module->Controller().Board().PaiIndex(id));

    EXPECT_THROW(StartModule(TestName() + QStringLiteral("Missing"),
                             {QStringLiteral("--layout"), QStringLiteral("none.tvm"), QStringLiteral("--problem"),
                              QStringLiteral("1")}),
                 CommandLineError);
}

TEST(ModuleMainTest, ChosenGameChangesOnlyWhenItCanStart)
{
    MessageRecorder messages;
    const QString folder = FreshProgramFolder(TestName());
    QFile::copy(folder + QStringLiteral("/template/classic.tvm"), folder + QStringLiteral("/template/古典 配置.tvm"));
    ModuleMain module(folder, {});
    module.Main();

    const QuestionInfo chosen{QStringLiteral("古典 配置.tvm"), QStringLiteral("5"), QStringLiteral("32"),
                              QStringLiteral("caption")};
    module.StoreQuestionInfo(chosen);
    module.StartGame();
    EXPECT_EQ(module.Controller().GetPaiCount(), 144);
    EXPECT_EQ(module.CurrentQuestion(), chosen);

    EXPECT_THROW(module.StoreQuestionInfo({QStringLiteral("x.tvm"), QStringLiteral("five"), QStringLiteral("0"),
                                           QStringLiteral("other")}),
                 NumberedError);
    EXPECT_EQ(module.CurrentQuestion(), chosen);

    module.StoreQuestionInfo({QStringLiteral("gone.tvm"), QStringLiteral("1"), QStringLiteral("0"),
                              QStringLiteral("other")});
    EXPECT_THROW(module.StartGame(), NumberedError);
    EXPECT_EQ(module.CurrentQuestion(), chosen) << "the caption stays with the game still on the board";
    EXPECT_EQ(module.Controller().GetPaiCount(), 144);
}

TEST(ModuleMainTest, PanelCommandsRedrawAsTheyShould)
{
    MessageRecorder messages;
    const auto module = StartModule(TestName(), {});
    FormMain& form = module->Form();
    const auto settle = [&] {
        MoveMouse(form, 720, 250);
        MoveMouse(form, 720, 200);
        ASSERT_EQ(module->LastRedrawLevel(), ModuleMain::REDRAW_COMPOSE);
    };

    settle();
    EXPECT_FALSE(module->PanelCommand(ModuleCommands::PANEL_RESTART)) << "no game to restart";
    EXPECT_EQ(module->LastRedrawLevel(), ModuleMain::REDRAW_FULL);
    EXPECT_FALSE(module->PanelCommand(ModuleCommands::PANEL_SAVE));

    settle();
    EXPECT_FALSE(module->PanelCommand(ModuleCommands::PANEL_SOUND_ON));
    EXPECT_TRUE(module->Controller().Sounds());
    EXPECT_FALSE(module->PanelCommand(ModuleCommands::PANEL_SOUND_OFF));
    EXPECT_FALSE(module->Controller().Sounds());
    EXPECT_EQ(module->LastRedrawLevel(), ModuleMain::REDRAW_COMPOSE);

    EXPECT_FALSE(module->PanelCommand(ModuleCommands::PANEL_AUTOHINT_ON));
    EXPECT_TRUE(module->Controller().AutoHint());
    EXPECT_EQ(module->LastRedrawLevel(), ModuleMain::REDRAW_FULL);
    settle();
    EXPECT_FALSE(module->PanelCommand(ModuleCommands::PANEL_AUTOHINT_OFF));
    EXPECT_FALSE(module->Controller().AutoHint());
    EXPECT_EQ(module->LastRedrawLevel(), ModuleMain::REDRAW_FULL);

    settle();
    EXPECT_FALSE(module->PanelCommand(99));
    EXPECT_FALSE(module->PanelCommand(ModuleCommands::PANEL_NEWGAME));
    EXPECT_EQ(module->LastRedrawLevel(), ModuleMain::REDRAW_COMPOSE);
}

TEST(ModuleMainTest, SaveLoadAndRestartGoThroughTheController)
{
    MessageRecorder messages;
    const auto module = StartModule(TestName(), ClassicGame(3));
    PaiCtrl& controller = module->Controller();
    const auto [first, second] = FreePair(controller);
    ClickTile(module->Form(), controller, first);
    ClickTile(module->Form(), controller, second);
    ASSERT_EQ(controller.GetPaiCount(), 142);

    EXPECT_TRUE(module->PanelCommand(ModuleCommands::PANEL_SAVE));
    EXPECT_TRUE(module->PanelCommand(ModuleCommands::PANEL_RESTART));
    EXPECT_EQ(controller.GetPaiCount(), 144);
    MoveMouse(module->Form(), 720, 250);
    EXPECT_FALSE(module->PanelCommand(ModuleCommands::PANEL_LOAD));
    EXPECT_EQ(controller.GetPaiCount(), 142);
    EXPECT_EQ(module->LastRedrawLevel(), ModuleMain::REDRAW_FULL) << "a load shows at once";
    EXPECT_EQ(module->PlayState(), ModuleMain::STATE_PLAYING);
}

TEST(ModuleMainTest, WaitMsKeepsTheWindowAlive)
{
    bool fired = false;
    QTimer::singleShot(20, [&] { fired = true; });
    QElapsedTimer clock;
    clock.start();
    ModuleMain::WaitMs(120);
    EXPECT_GE(clock.elapsed(), 120);
    EXPECT_TRUE(fired);

    clock.restart();
    ModuleMain::WaitMs(-5);
    ModuleMain::WaitMs(0);
    EXPECT_LT(clock.elapsed(), 20);
}

TEST(ModuleMainTest, ClosingWithoutAGameShutsDownCleanly)
{
    MessageRecorder messages;
    const auto module = StartModule(TestName(), {});
    EXPECT_TRUE(module->Form().close());
    EXPECT_FALSE(module->Form().isVisible());
    EXPECT_TRUE(messages.requests.empty());
}

} // namespace
