// Windows larger than the design's picture, drawn sharp: the layout's
// arithmetic, tiles landing where the board's transform puts them and taken
// by a click on their centre, and a whole game played by mouse.

#include "ShellTestSupport.h"

#include "GameScreen.h"
#include "MapCtrl.h"
#include "ScreenLayout.h"
#include "Settings.h"
#include "StatusPainter.h"

namespace {

struct SizeCase {
    QSize size;
    double leastCoverage;  // share of the window under the tiles' box
    double leastTileWidth;
};

// The box around the classic layout's tiles, in board pixels.
PixelRect ClassicBox(const PaiCtrl& controller)
{
    const PaiStructure& board = controller.Board();
    PixelRect box{9999, 9999, -9999, -9999};
    for (int32_t id = 0; id < board.MaxID(); ++id) {
        box.Left = std::min(box.Left, board.PaiBltX(id));
        box.Top = std::min(box.Top, board.PaiBltY(id));
        box.Right = std::max(box.Right, board.PaiBltX(id) + PaiStructure::kTileWidth);
        box.Bottom = std::max(box.Bottom, board.PaiBltY(id) + PaiStructure::kTileHeight);
    }
    return box;
}

// The window point at the centre of a tile's face.
QPoint FaceCentre(const ScreenLayout& layout, const PaiStructure& board, int32_t id)
{
    return {layout.Board().X(board.PaiBltX(id) + 18.5), layout.Board().Y(board.PaiBltY(id) + 25.5)};
}

class SharpScreenTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder = FreshProgramFolder();
        module = std::make_unique<ModuleMain>(folder, ClassicGame(11) << QStringLiteral("--answer")
                                                                      << QStringLiteral("--scaling=sharp"));
        module->Main();
    }

    const ScreenLayout& ShowAt(QSize size)
    {
        module->Form().resize(size);
        module->Screen().FitToWindow();
        return module->Screen().Layout();
    }

    FormMain& form() const { return module->Form(); }
    PaiCtrl& controller() const { return module->Controller(); }

    MessageRecorder messages;
    QString folder;
    std::unique_ptr<ModuleMain> module;
};

TEST_F(SharpScreenTest, TilesLandWhereTheTransformSaysAndAClickOnTheirCentreTakesThem)
{
    const SizeCase cases[] = {{{1188, 849}, 0.45, 60},
                              {{1366, 768}, 0.50, 55},
                              {{1920, 1080}, 0.55, 85},
                              {{2560, 1440}, 0.55, 110},
                              {{3840, 2160}, 0.55, 170}};
    const PixelRect box = ClassicBox(controller());
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.size.width());
        const ScreenLayout& layout = ShowAt(c.size);
        ASSERT_FALSE(layout.IsDesign());
        ASSERT_EQ(module->Layer().BackSurface()->Width(), c.size.width());
        const double u = std::min(c.size.width() / 792.0, c.size.height() / 566.0);
        EXPECT_DOUBLE_EQ(layout.SideScale(), u);
        EXPECT_NEAR(layout.SideLeft(), c.size.width() - 133 * u, 1.0);

        // The tiles' box fills the region with a small margin, centred.
        const BoardView& view = layout.Board();
        const QRectF shown(view.left + box.Left * view.scale, view.top + box.Top * view.scale,
                           box.Width() * view.scale, box.Height() * view.scale);
        EXPECT_GE(shown.left(), 0);
        EXPECT_GE(shown.top(), 0);
        EXPECT_LE(shown.right(), layout.SideLeft());
        EXPECT_LE(shown.bottom(), c.size.height());
        EXPECT_NEAR(shown.center().x(), layout.SideLeft() / 2.0, 1.0);
        EXPECT_GE(shown.width() * shown.height() / (c.size.width() * c.size.height()), c.leastCoverage);
        EXPECT_GE(37 * view.scale, c.leastTileWidth);

        // A free tile is drawn at its place: its face differs from the
        // wallpaper's green there, and a click at its centre selects it.
        const int32_t id = FreePair(controller()).first;
        const QPoint centre = FaceCentre(layout, controller().Board(), id);
        EXPECT_NE(BackPixel(*module, centre.x(), centre.y()), 0x00FF00u);
        EXPECT_EQ(layout.DesignAt(centre) - QPoint(4, 4),
                  QPoint(controller().Board().PaiBltX(id) + 18, controller().Board().PaiBltY(id) + 25));
        MoveMouse(form(), 5, 5);
        MoveMouse(form(), centre.x(), centre.y());
        SendMouse(form(), QEvent::MouseButtonPress, centre.x(), centre.y(), Qt::LeftButton);
        EXPECT_EQ(controller().Selection(), std::vector<int32_t>{id});
        module->Play().CommandCancel();

        // The status stands above the buttons at the side bar's scale, and
        // the pause hides the tiles at this size too.
        const QRect status(layout.SideBarAt(StatusPainter::kArea.left(), StatusPainter::kArea.top()),
                           layout.SideBarAt(StatusPainter::kArea.right(), StatusPainter::kArea.bottom()));
        int ink = 0;
        for (int y = status.top(); y <= status.bottom(); ++y)
            for (int x = status.left(); x <= status.right(); ++x)
                ink += BackPixel(*module, x, y) != 0x3399FFu;
        EXPECT_GT(ink, 20 * u * u);
        MoveMouse(form(), 5, 5);
        TapKey(form(), Qt::Key_P);
        ASSERT_TRUE(module->Paused());
        EXPECT_EQ(BackPixel(*module, centre.x(), centre.y()), 0x00FF00u);
        TapKey(form(), Qt::Key_Space);
        EXPECT_NE(BackPixel(*module, centre.x(), centre.y()), 0x00FF00u);

        // The side bar's hint button, through u.
        const QPoint hint = layout.SideBarAt(725, 366);
        EXPECT_EQ(module->ButtonBar().JudgePointer(layout.DesignAt(hint).x(), layout.DesignAt(hint).y()), 2);
    }
    // Back at the design's size the design's picture returns.
    EXPECT_TRUE(ShowAt({792, 566}).IsDesign());
    EXPECT_EQ(module->Layer().BackSurface()->Width(), 792);
}

TEST_F(SharpScreenTest, SmallMovesCountInDesignPixelsAndTheClearFigureFitsTheRegion)
{
    const ScreenLayout& layout = ShowAt({1920, 1080});
    const int32_t id = FreePair(controller()).first;
    const QPoint centre = FaceCentre(layout, controller().Board(), id);
    MoveMouse(form(), centre.x(), centre.y());
    const QPoint cursor = Cursor(form());
    // Within two design pixels the cursor stays; a third moves it.
    const double step = layout.Board().scale;
    MoveMouse(form(), centre.x() + 2 * step, centre.y());
    EXPECT_EQ(Cursor(form()), cursor);
    MoveMouse(form(), centre.x() + 3 * step + 1, centre.y());
    EXPECT_EQ(Cursor(form()), cursor + QPoint(3, 0));

    const BoardView& clear = layout.Clear();
    EXPECT_LE(clear.scale, layout.Board().scale);
    EXPECT_GE(clear.X(ScreenLayout::kClearLeft), 0);
    EXPECT_LE(clear.X(ScreenLayout::kClearRight), layout.SideLeft());
}

TEST_F(SharpScreenTest, AWholeGameByMouseAt1920By1080)
{
    const ScreenLayout& layout = ShowAt({1920, 1080});
    const std::vector<int32_t> answer = AnswerSlots(folder);
    ASSERT_EQ(answer.size(), 144U);
    const PaiStructure& board = controller().Board();
    for (int32_t id : answer) {
        const QPoint at = FaceCentre(layout, board, id);
        const QPoint bar = layout.SideBarAt(720, 250);
        MoveMouse(form(), bar.x(), bar.y());
        MoveMouse(form(), at.x(), at.y());
        SendMouse(form(), QEvent::MouseButtonPress, at.x(), at.y(), Qt::LeftButton);
    }
    FinishClearAnimation(*module);
    EXPECT_EQ(controller().GetPaiCount(), 0);
    EXPECT_EQ(module->PlayState(), ModuleMain::STATE_CLEARED);
}

TEST(SharpScalingTest, TheCommandLinesChoiceIsRememberedAndSharpIsTheDefault)
{
    Settings settings;
    settings.SetValue(QStringLiteral("scaling"), QString());
    EXPECT_TRUE(GameScreen::SharpScaling(std::nullopt, settings));
    EXPECT_FALSE(GameScreen::SharpScaling(QStringLiteral("pixel"), settings));
    EXPECT_FALSE(GameScreen::SharpScaling(std::nullopt, settings));
    EXPECT_TRUE(GameScreen::SharpScaling(QStringLiteral("sharp"), settings));
    EXPECT_TRUE(GameScreen::SharpScaling(std::nullopt, settings));
}

} // namespace
