#include "ShellTestSupport.h"

#include "ClearAnimation.h"
#include "NumberedError.h"
#include "WindowMessageBox.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QMessageBox>

#include <numeric>

namespace {

TEST(ModuleMainTest, StartUpBuildsTheSixSurfacesAndTheFirstPicture)
{
    MessageRecorder messages;
    const auto module = StartModule(TestName(), {});
    const ModuleMain::SurfaceNumbers& set = module->SurfaceSet();
    // Made in this order, each a surface of its own, none missing.
    const std::vector<int32_t> made{set.Tiles, set.TilesOnWhite, set.Work, set.Hud, set.Wall, set.Backdrop};
    EXPECT_TRUE(std::ranges::is_sorted(made) && std::ranges::adjacent_find(made) == made.end());
    for (int32_t sprite : made)
        EXPECT_NE(module->Layer().SpriteSurface(sprite), nullptr) << sprite;
    const PixelSurface& work = *module->Layer().SpriteSurface(set.Work);
    const PixelSurface& wall = *module->Layer().SpriteSurface(set.Wall);
    const PixelSurface& backdrop = *module->Layer().SpriteSurface(set.Backdrop);
    EXPECT_EQ(std::tuple(work.Width(), work.Height(), wall.Width(), wall.Height(), backdrop.Width(), backdrop.Height()),
              std::tuple(655, 557, 655, 557, 792, 566));
    EXPECT_EQ(QPoint(module->SheetRects().HudRect.Right, module->SheetRects().HudRect.Bottom), QPoint(221, 302));

    const PixelSurface& tiles = *module->Layer().SpriteSurface(set.Tiles);
    const PixelSurface& onWhite = *module->Layer().SpriteSurface(set.TilesOnWhite);
    int transparent = 0;
    for (int y = 0; y < tiles.Height(); ++y)
        for (int x = 0; x < tiles.Width(); ++x) {
            const uint32_t pixel = tiles.Pixel(x, y) & 0xFFFFFF;
            transparent += pixel == 0xFF00FF;
            ASSERT_EQ(onWhite.Pixel(x, y) & 0xFFFFFF, pixel == 0xFF00FF ? 0xFFFFFFu : pixel) << x << "," << y;
        }
    EXPECT_GT(transparent, 0);

    EXPECT_EQ(module->LastRedrawLevel(), ModuleMain::REDRAW_FULL);
    EXPECT_EQ(BackPixel(*module, 2, 2), 0x3399FFu) << "backdrop";
    EXPECT_EQ(BackPixel(*module, 300, 300), 0x00FF00u) << "plain wallpaper";
    EXPECT_FALSE(module->Controller().GameActive());
    EXPECT_FALSE(module->AnswerMode());
    EXPECT_TRUE(messages.requests.empty());

    EXPECT_TRUE(module->Form().close()) << "closing before any game shuts down cleanly";
}

TEST(ModuleMainTest, CommandLineStartsAGameAtOnceAndAnnouncesAnswerMode)
{
    MessageRecorder messages;
    const auto game = StartModule(TestName(), ClassicGame(42));
    EXPECT_EQ(game->Controller().GetPaiCount(), 144);
    const QuestionInfo question = game->CurrentQuestion();
    EXPECT_EQ(question[0] + question[1] + question[2], QStringLiteral("classic.tvm420"));
    EXPECT_FALSE(question[3].isEmpty() || question[3].contains(QChar(u'\0')));
    const QStringList missing{QStringLiteral("--layout"), QStringLiteral("none.tvm"), QStringLiteral("--problem"),
                              QStringLiteral("1")};
    EXPECT_THROW(StartModule(TestName() + QStringLiteral("Missing"), missing), CommandLineError);

    const auto plain = StartModule(TestName() + QStringLiteral("Off"), {QStringLiteral("/answer"), QStringLiteral("x")});
    EXPECT_FALSE(plain->Controller().MakeAnswer() || game->Controller().MakeAnswer());
    EXPECT_TRUE(messages.requests.empty());
    const auto module = StartModule(TestName() + QStringLiteral("On"), {QStringLiteral("/Answer")});
    EXPECT_TRUE(module->Controller().MakeAnswer());
    ASSERT_EQ(messages.requests.size(), 1U);
    EXPECT_EQ(std::tie(messages.requests[0].text, messages.requests[0].title, messages.requests[0].icon),
              std::tuple("解答作成モード", "Tovrik", MessageIcon::None));
}

TEST(ModuleMainTest, ChosenGameChangesOnlyWhenItCanStart)
{
    MessageRecorder messages;
    const QString folder = FreshProgramFolder();
    QFile::copy(folder + QStringLiteral("/template/classic.tvm"), folder + QStringLiteral("/template/古典 配置.tvm"));
    ModuleMain module(folder, {});
    CloseSidePanelWhenOpen();
    module.Main();

    const QuestionInfo chosen{QStringLiteral("古典 配置.tvm"), QStringLiteral("5"), QStringLiteral("32"),
                              QStringLiteral("caption")};
    module.StoreQuestionInfo(chosen);
    module.StartGame();
    EXPECT_EQ(module.Controller().GetPaiCount(), 144);
    EXPECT_EQ(module.CurrentQuestion(), chosen);

    const QuestionInfo notANumber{QStringLiteral("x.tvm"), QStringLiteral("five"), QStringLiteral("0"), QString()};
    EXPECT_THROW(module.StoreQuestionInfo(notANumber), NumberedError);
    EXPECT_EQ(module.CurrentQuestion(), chosen);

    module.StoreQuestionInfo({QStringLiteral("gone.tvm"), QStringLiteral("1"), QStringLiteral("0"), QString()});
    EXPECT_THROW(module.StartGame(), NumberedError);
    EXPECT_EQ(module.CurrentQuestion(), chosen) << "the caption stays with the game still on the board";
}

TEST(ModuleMainTest, PanelCommandsRedrawAsTheyShould)
{
    MessageRecorder messages;
    const auto module = StartModule(TestName(), {});
    // Each command from a settled picture: the redraw it leaves, then sounds and auto-hint.
    const struct { int code; int32_t level; bool sounds, autoHint; } cases[] = {
        {ModuleCommands::PANEL_SOUND_ON, ModuleMain::REDRAW_COMPOSE, true, false},
        {ModuleCommands::PANEL_SOUND_OFF, ModuleMain::REDRAW_COMPOSE, false, false},
        {99, ModuleMain::REDRAW_COMPOSE, false, false},
        {ModuleCommands::PANEL_AUTOHINT_ON, ModuleMain::REDRAW_FULL, false, true},
        {ModuleCommands::PANEL_AUTOHINT_OFF, ModuleMain::REDRAW_FULL, false, false},
        {ModuleCommands::PANEL_RESTART, ModuleMain::REDRAW_FULL, false, false}}; // no game to restart
    for (const auto& c : cases) {
        MoveMouse(module->Form(), 720, 250);
        MoveMouse(module->Form(), 720, 200);
        ASSERT_EQ(module->LastRedrawLevel(), ModuleMain::REDRAW_COMPOSE);
        EXPECT_FALSE(module->PanelCommand(c.code)) << c.code;
        EXPECT_EQ(std::tuple(module->LastRedrawLevel(), module->Controller().Sounds(), module->Controller().AutoHint()),
                  std::tuple(c.level, c.sounds, c.autoHint)) << c.code;
    }
}

TEST(ModuleMainTest, LoadShowsTheSavedGameAtOnce)
{
    MessageRecorder messages;
    const auto module = StartModule(TestName(), ClassicGame(3));
    const auto [first, second] = FreePair(module->Controller());
    ClickTile(module->Form(), module->Controller(), first);
    ClickTile(module->Form(), module->Controller(), second);
    EXPECT_TRUE(module->PanelCommand(ModuleCommands::PANEL_SAVE));
    EXPECT_TRUE(module->PanelCommand(ModuleCommands::PANEL_RESTART));
    MoveMouse(module->Form(), 720, 250);
    EXPECT_FALSE(module->PanelCommand(ModuleCommands::PANEL_LOAD));
    EXPECT_EQ(module->Controller().GetPaiCount(), 142);
    EXPECT_EQ(module->LastRedrawLevel(), ModuleMain::REDRAW_FULL);
}

TEST(ModuleMainTest, ClearAnimationPaintsEveryFramePacedWhileTheWindowKeepsWorking)
{
    std::vector<int32_t> frames;
    ClearAnimation animation([&](int32_t frame) { frames.push_back(frame); });
    bool finished = false;
    QObject::connect(&animation, &ClearAnimation::Finished, [&] { finished = true; });
    bool firedMeanwhile = false;
    QTimer::singleShot(20, [&] { firedMeanwhile = animation.Running(); });
    QElapsedTimer clock;
    clock.start();
    animation.Start();
    EXPECT_EQ(frames, std::vector<int32_t>{0}) << "the first frame at once, the rest from the event loop";
    while (!finished && clock.elapsed() < 10'000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    std::vector<int32_t> expected(ClearAnimation::kLastFrame + 1);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(frames, expected);
    EXPECT_GE(clock.elapsed(), 114 * 1000 / 60 + 800 - 100) << "60 frames a second and the standing figure's wait";
    EXPECT_TRUE(firedMeanwhile);
    EXPECT_FALSE(animation.Running());

    // A frame that fails ends the animation and is reported, not thrown into the event loop.
    MessageRecorder messages;
    ClearAnimation failing([](int32_t frame) {
        if (frame == 3)
            throw NumberedError(NumberedError::InvalidArgument, "frame");
    });
    finished = false;
    QObject::connect(&failing, &ClearAnimation::Finished, [&] { finished = true; });
    failing.Start();
    clock.restart();
    while (!finished && clock.elapsed() < 10'000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_FALSE(failing.Running());
    ASSERT_EQ(messages.requests.size(), 1U);
    EXPECT_EQ(messages.requests[0].icon, MessageIcon::Critical);
}

TEST(ModuleMainTest, WindowMessageBoxShowsTheRequestAndAnswersWithTheButtonPressed)
{
    InstallWindowMessageBox();
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->windowTitle() + u'|' + box->text();
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(ShowMessage({"セーブしますか？", "", MessageButtons::YesNo, MessageIcon::Question}), MessageResult::No);
    EXPECT_EQ(shown, QStringLiteral("Tovrik|セーブしますか？"));
    SetMessageHandler({});
}

TEST(ModuleMainTest, WindowMessageBoxShowsButtonsOfItsOwnAndEscapeTakesTheLast)
{
    const MessageRequest request{"取れる牌がなくなりました。", "手詰まり", MessageButtons::Ok, MessageIcon::None,
                                 {"一手戻す", "やり直し", "新しいゲーム", "閉じる"}};
    QStringList labels;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* button : box->buttons())
            labels << button->text();
        EXPECT_EQ(box->standardButtons(), QMessageBox::NoButton);
        box->buttons().at(labels.indexOf(QStringLiteral("新しいゲーム")))->click();
    });
    EXPECT_EQ(ShowWindowMessageBox(request), ChoiceResult(2));
    labels.sort();
    QStringList expected{u"一手戻す"_qs, u"やり直し"_qs, u"新しいゲーム"_qs, u"閉じる"_qs};
    expected.sort();
    EXPECT_EQ(labels, expected);

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ(ShowWindowMessageBox(request), ChoiceResult(3));
}

} // namespace
