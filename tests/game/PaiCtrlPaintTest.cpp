#include <gtest/gtest.h>

#include <QImage>

#include "DX7Draw.h"
#include "GameTestSupport.h"

using namespace gametest;

namespace {

constexpr int kBoardWidth = 655;
constexpr int kBoardHeight = 557;
constexpr uint32_t kGreen = 0x00FF00;

// Colours of the test sheet, none of them white or magenta.
uint32_t FaceColour(int face) { return qRgb(20 + face, 40, 60 + 2 * face) & 0xFFFFFF; }
uint32_t FrameColour(int cell) { return qRgb(100 + 20 * cell, 150, 30 + cell) & 0xFFFFFF; }
uint32_t EdgeColour(int cell) { return qRgb(50, 100 + 20 * cell, 200) & 0xFFFFFF; }

// A tile sheet in the real sheet's geometry: every face a coloured block on
// white, every frame cell a coloured face area with a differently coloured
// edge, magenta around.
QImage TestSheet()
{
    QImage sheet(370, 363, QImage::Format_RGB32);
    sheet.fill(qRgb(255, 0, 255));
    for (int face = 0; face < 60; ++face) {
        const int left = face % 10 * 37;
        const int top = face / 10 * 51;
        for (int y = 0; y < 51; ++y)
            for (int x = 0; x < 37; ++x) {
                const bool inner = x >= 8 && x < 29 && y >= 10 && y < 41;
                sheet.setPixel(left + x, top + y, inner ? FaceColour(face) | 0xFF000000u : qRgb(255, 255, 255));
            }
    }
    for (int cell = 0; cell < 6; ++cell)
        for (int y = 0; y < 57; ++y)
            for (int x = 0; x < 43; ++x) {
                const bool face = x < 37 && y < 51;
                sheet.setPixel(43 * cell + x, 306 + y, (face ? FrameColour(cell) : EdgeColour(cell)) | 0xFF000000u);
            }
    return sheet;
}

// A picture whose every pixel tells where it came from.
QImage Landmarks(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 16 + y / 256));
    return picture;
}

uint32_t PictureAt(const QImage& picture, int x, int y) { return picture.pixel(x, y) & 0xFFFFFF; }

class PaiCtrlPaintTest : public testing::Test {
protected:
    PaiCtrlPaintTest()
        : folder(FreshFolder(testing::UnitTest::GetInstance()->current_test_info()->name())),
          sounds(folder),
          dx7(std::make_shared<DX7Draw>())
    {
        dx7->Initialize(nullptr, nullptr, 792, 566);
        const QImage sheet = TestSheet();
        const int32_t tiles = dx7->GetFreeNumber();
        dx7->LoadPicture(tiles, sheet, true, 0xFF00FF, 0xFF00FF);
        const int32_t onWhite = dx7->GetFreeNumber();
        dx7->CreateSprite(onWhite, sheet.width(), sheet.height(), true, 0xFFFFFF, 0xFFFFFF);
        dx7->DD7Fill(onWhite, {0, 0, sheet.width(), sheet.height()}, 0xFFFFFF);
        dx7->DD7SpriteBltFast(onWhite, 0, 0, tiles, {0, 0, sheet.width(), sheet.height()});
        work = dx7->GetFreeNumber();
        dx7->CreateSprite(work, kBoardWidth, kBoardHeight);
        wall = dx7->GetFreeNumber();
        dx7->CreateSprite(wall, kBoardWidth, kBoardHeight);

        ctrl.SetProgramFolder(folder.string());
        ctrl.SetDX7(dx7);
        ctrl.SetDX7Work(work, kBoardWidth, kBoardHeight);
        ctrl.SetDX7Sprite(tiles, onWhite, sheet.width(), sheet.height());
        ctrl.SetDX7Wall(wall);
        ctrl.SetDX7Sound(sounds.ArchivePath());
        ctrl.Sounds(true);
        ctrl.ChangeWallpaper(QImage(), true);

        // Five tiles in a row, far apart, and one more on top of the middle one.
        layout = WriteLayout(folder, "row",
                             {Code(0, 2, 2), Code(0, 8, 2), Code(0, 14, 2), Code(0, 20, 2), Code(1, 14, 2),
                              Code(0, 26, 2)},
                             {{0, 2}, {5, 2}, {30, 2}}, 2);
    }

    const PixelSurface& Work() const { return *dx7->SpriteSurface(work); }
    const PixelSurface& Wall() const { return *dx7->SpriteSurface(wall); }
    uint32_t WorkAt(int x, int y) const { return Work().Pixel(x, y) & 0xFFFFFF; }

    int32_t X(int32_t id) const { return ctrl.Board().PaiBltX(id); }
    int32_t Y(int32_t id) const { return ctrl.Board().PaiBltY(id); }
    uint32_t FrameOf(int32_t id) const { return WorkAt(X(id) + 2, Y(id) + 2); }
    uint32_t FaceOf(int32_t id) const { return WorkAt(X(id) + 18, Y(id) + 25); }
    uint32_t EdgeOf(int32_t id) const { return WorkAt(X(id) + 40, Y(id) + 54); }
    uint32_t OwnFace(int32_t id) const { return FaceColour(ctrl.Board().PaiIndex(id)); }

    // Every tile but the covered one shows the frame cell of its mode.
    void ExpectCells(bool hint)
    {
        for (const int32_t id : {kLeft, 1, 3, kTop, 5}) {
            if (!ctrl.Board().Validity(id))
                continue;
            const int32_t mode = ctrl.Board().ModeGet(id, hint);
            EXPECT_EQ(FrameOf(id), FrameColour(mode)) << "tile " << id;
            EXPECT_EQ(EdgeOf(id), EdgeColour(mode)) << "tile " << id;
            EXPECT_EQ(FaceOf(id), mode == PaiStructure::MODE_FACEDOWN ? FrameColour(0) : OwnFace(id)) << "tile " << id;
        }
    }

    bool WorkEquals(const PixelSurface& other) const
    {
        for (int y = 0; y < kBoardHeight; ++y)
            for (int x = 0; x < kBoardWidth; ++x)
                if ((Work().Pixel(x, y) ^ other.Pixel(x, y)) & 0xFFFFFF)
                    return false;
        return true;
    }

    // The work surface at clear frame t: backs where the figure's tiles show,
    // wallpaper everywhere else.
    void ExpectClearFrame(int t)
    {
        std::vector<bool> back(kBoardWidth * kBoardHeight, false);
        for (int i = 0; i < PaiStructure::kClearTiles; ++i) {
            BoardPoint origin;
            ctrl.Board().GetClearRect(origin, i);
            const int top = t < 57 ? origin.y + 57 - t : origin.y;
            const int height = t < 57 ? t : 114 - t;
            for (int y = top; y < top + height; ++y)
                for (int x = origin.x; x < origin.x + 43; ++x)
                    back[y * kBoardWidth + x] = true;
        }
        int wrong = 0;
        for (int y = 0; y < kBoardHeight; ++y)
            for (int x = 0; x < kBoardWidth; ++x) {
                const uint32_t pixel = WorkAt(x, y);
                const bool isBack = pixel == FrameColour(0) || pixel == EdgeColour(0);
                wrong += isBack != back[y * kBoardWidth + x] || (!isBack && pixel != kGreen);
            }
        EXPECT_EQ(wrong, 0) << "frame " << t;
    }

    static constexpr int32_t kLeft = 0;
    static constexpr int32_t kCovered = 2;
    static constexpr int32_t kTop = 4;

    std::filesystem::path folder;
    SoundRig sounds;
    std::shared_ptr<DX7Draw> dx7;
    int32_t work = 0;
    int32_t wall = 0;
    PaiCtrl ctrl;
    std::string layout;
};

TEST_F(PaiCtrlPaintTest, EachModeShowsItsFrameCell)
{
    ctrl.GameInit(layout, 1, 0);
    const std::vector<int32_t> answer = ctrl.Board().RemovalOrder();
    ctrl.PaintMap();
    EXPECT_EQ(FrameOf(kLeft), FrameColour(PaiStructure::MODE_NORMAL));
    ExpectCells(false);

    ctrl.ClickPai(answer[0]);
    ctrl.PaintMap();
    EXPECT_EQ(FrameOf(answer[0]), FrameColour(PaiStructure::MODE_SELECTED));
    ExpectCells(false);

    ctrl.ClickPai(PaiCtrl::PAI_HINT);
    ctrl.PaintMap();
    EXPECT_EQ(FrameOf(answer[0]), FrameColour(PaiStructure::MODE_HINT));
    ExpectCells(true);

    PlaySets(ctrl, answer, 0, 1);
    ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK);
    ctrl.PaintMap();
    EXPECT_EQ(FrameOf(answer[1]), FrameColour(PaiStructure::MODE_PLAYBACK));
    ExpectCells(false);

    // Off the tiles the wallpaper shows.
    EXPECT_EQ(WorkAt(600, 500), kGreen);

    ctrl.GameInit(layout, 1, 1);
    ctrl.PaintMap();
    EXPECT_EQ(FrameOf(kLeft), FrameColour(PaiStructure::MODE_FACEDOWN));
    ExpectCells(false);
}

TEST_F(PaiCtrlPaintTest, AutoHintMarksAfterEveryChange)
{
    ctrl.GameInit(layout, 2, 0);
    const int32_t first = ctrl.Board().RemovalOrder()[0];
    ctrl.ClickPai(first);
    ctrl.ClickPai(first);
    ctrl.PaintMap();
    EXPECT_EQ(FrameOf(first), FrameColour(PaiStructure::MODE_NORMAL));
    ctrl.AutoHint(true);
    ctrl.PaintMap();
    EXPECT_EQ(FrameOf(first), FrameColour(PaiStructure::MODE_HINT));
    ExpectCells(true);
}

TEST_F(PaiCtrlPaintTest, FocusMarksOnlyFreeTiles)
{
    ctrl.GameInit(layout, 3, 0);
    ctrl.PaintMap();
    const PixelSurface painted = Work();
    ctrl.FocusPai(kLeft);
    ctrl.PaintFocus();
    EXPECT_EQ(FrameOf(kLeft), FrameColour(2));
    EXPECT_EQ(FaceOf(kLeft), OwnFace(kLeft));
    EXPECT_EQ(EdgeOf(kLeft), EdgeColour(PaiStructure::MODE_NORMAL));

    ASSERT_FALSE(ctrl.Board().Selectable(kCovered));
    ctrl.FocusPai(kCovered);
    ctrl.PaintFocus();
    EXPECT_TRUE(WorkEquals(painted)) << "a covered tile shows no mark";
    ctrl.FocusPai(-1);
    ctrl.PaintFocus();
    EXPECT_TRUE(WorkEquals(painted));

    // A selected tile keeps its side while the mark covers its face area.
    ctrl.ClickPai(kLeft);
    ctrl.PaintMap();
    ctrl.FocusPai(kLeft);
    ctrl.PaintFocus();
    EXPECT_EQ(FrameOf(kLeft), FrameColour(2));
    EXPECT_EQ(EdgeOf(kLeft), EdgeColour(PaiStructure::MODE_SELECTED));
    ctrl.FocusPai(-1);
    ctrl.PaintFocus();
    EXPECT_EQ(FrameOf(kLeft), FrameColour(PaiStructure::MODE_SELECTED));
}

TEST_F(PaiCtrlPaintTest, FaceDownTileShowsItsFaceUnderTheFocus)
{
    ctrl.GameInit(layout, 4, 1);
    ctrl.PaintMap();
    ASSERT_EQ(FaceOf(kLeft), FrameColour(PaiStructure::MODE_FACEDOWN));
    ctrl.FocusPai(kLeft);
    ctrl.PaintFocus();
    EXPECT_EQ(FaceOf(kLeft), OwnFace(kLeft));
    EXPECT_EQ(FrameOf(kLeft), FrameColour(2));
    EXPECT_EQ(EdgeOf(kLeft), EdgeColour(PaiStructure::MODE_FACEDOWN));
}

TEST_F(PaiCtrlPaintTest, ClearAnimationFrames)
{
    ctrl.GameInit(layout, 5, 0);
    ctrl.PaintMap();
    sounds.TakePlayed();
    ctrl.PaintClear(0);
    EXPECT_TRUE(WorkEquals(Wall()));
    EXPECT_EQ(sounds.TakePlayed(), std::vector<int>{PaiCtrl::SOUND_CLEAR});
    for (const int t : {0, 20, 57, 90, 113})
        ctrl.PaintClear(t), ExpectClearFrame(t);
    EXPECT_EQ(sounds.TakePlayed(), std::vector<int>{PaiCtrl::SOUND_CLEAR}) << "only frame 0 sounds";
    // At frame 113 the one row left is the bottom of the back.
    BoardPoint origin;
    ctrl.Board().GetClearRect(origin, 0);
    ctrl.PaintClear(113);
    EXPECT_EQ(WorkAt(origin.x + 10, origin.y), EdgeColour(0));
}

TEST_F(PaiCtrlPaintTest, CentredWallpaper)
{
    const QImage small = Landmarks(100, 80);
    ctrl.ChangeWallpaper(small, true);
    const int left = (kBoardWidth - 100) / 2;
    const int top = (kBoardHeight - 80) / 2;
    EXPECT_EQ(Wall().Pixel(left, top) & 0xFFFFFF, PictureAt(small, 0, 0));
    EXPECT_EQ(Wall().Pixel(left + 99, top + 79) & 0xFFFFFF, PictureAt(small, 99, 79));
    EXPECT_EQ(Wall().Pixel(left - 1, top) & 0xFFFFFF, kGreen);
    EXPECT_EQ(Wall().Pixel(left + 100, top + 80) & 0xFFFFFF, kGreen);

    // A larger picture is cut evenly on both sides.
    const QImage large = Landmarks(700, 600);
    ctrl.ChangeWallpaper(large, true);
    for (int y = 0; y < kBoardHeight; y += 37)
        for (int x = 0; x < kBoardWidth; x += 41)
            ASSERT_EQ(Wall().Pixel(x, y) & 0xFFFFFF, PictureAt(large, x + 22, y + 21)) << x << "," << y;
    EXPECT_EQ(Wall().Pixel(654, 556) & 0xFFFFFF, PictureAt(large, 676, 577));

    ctrl.GameInit(layout, 1, 0);
    ctrl.PaintMap();
    EXPECT_EQ(WorkAt(600, 500), PictureAt(large, 622, 521));
}

TEST_F(PaiCtrlPaintTest, TiledWallpaper)
{
    int pumped = 0;
    ctrl.SetEventPump([&] { ++pumped; });
    const QImage small = Landmarks(100, 80);
    ctrl.ChangeWallpaper(small, false);
    for (int y = 0; y < kBoardHeight; ++y)
        for (int x = 0; x < kBoardWidth; ++x)
            ASSERT_EQ(Wall().Pixel(x, y) & 0xFFFFFF, PictureAt(small, x % 100, y % 80)) << x << "," << y;
    EXPECT_GE(pumped, 1);

    const QImage large = Landmarks(700, 600);
    ctrl.ChangeWallpaper(large, false);
    EXPECT_EQ(Wall().Pixel(0, 0) & 0xFFFFFF, PictureAt(large, 0, 0));
    EXPECT_EQ(Wall().Pixel(654, 556) & 0xFFFFFF, PictureAt(large, 654, 556));
}

TEST_F(PaiCtrlPaintTest, BoardSizedWallpaperFillsTheBoardEitherWay)
{
    const QImage exact = Landmarks(kBoardWidth, kBoardHeight);
    for (const bool centred : {true, false}) {
        ctrl.ChangeWallpaper(exact, centred);
        for (const auto& [x, y] : {std::pair{0, 0}, {654, 556}, {327, 278}, {0, 556}})
            EXPECT_EQ(Wall().Pixel(x, y) & 0xFFFFFF, PictureAt(exact, x, y)) << centred;
    }
    ctrl.ChangeWallpaper(QImage(), false);
    EXPECT_EQ(Wall().Pixel(300, 300) & 0xFFFFFF, kGreen);
}

TEST_F(PaiCtrlPaintTest, BlitPutsTheBoardOnTheBackSurface)
{
    ctrl.GameInit(layout, 1, 0);
    ctrl.PaintMap();
    ctrl.Blit(4, 4);
    const PixelSurface& back = *dx7->BackSurface();
    for (const auto& [x, y] : {std::pair{0, 0}, {654, 556}, {X(kLeft) + 18, Y(kLeft) + 25}})
        EXPECT_EQ(back.Pixel(x + 4, y + 4) & 0xFFFFFF, WorkAt(x, y));
}

} // namespace
