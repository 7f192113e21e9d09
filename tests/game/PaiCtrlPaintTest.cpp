#include <QImage>

#include "DX7Draw.h"
#include "GameTestSupport.h"

using namespace gametest;

namespace {

constexpr int kWidth = 655;
constexpr int kHeight = 557;
constexpr uint32_t kGreen = 0x00FF00;

// Colours of the test sheet, none of them white or magenta.
uint32_t FaceColour(int face) { return 0x142040u + 0x10002u * face; }
uint32_t FrameColour(int cell) { return 0x64961Eu + 0x140001u * cell; }
uint32_t EdgeColour(int cell) { return 0x3264C8u + 0x1400u * cell; }
constexpr int kFocusCell = 2;

// The tile sheet's geometry: faces as coloured blocks on white, frame cells
// as a coloured face area with a differently coloured edge, magenta around.
QImage TestSheet()
{
    QImage sheet(370, 363, QImage::Format_RGB32);
    sheet.fill(0xFF00FF);
    for (int face = 0; face < 60; ++face)
        for (int y = 0; y < 51; ++y)
            for (int x = 0; x < 37; ++x) {
                const bool block = x >= 8 && x < 29 && y >= 10 && y < 41;
                sheet.setPixel(face % 10 * 37 + x, face / 10 * 51 + y, block ? FaceColour(face) : 0xFFFFFF);
            }
    for (int cell = 0; cell < 6; ++cell)
        for (int y = 0; y < 57; ++y)
            for (int x = 0; x < 43; ++x)
                sheet.setPixel(43 * cell + x, 306 + y, x < 37 && y < 51 ? FrameColour(cell) : EdgeColour(cell));
    return sheet;
}

// A picture whose every pixel tells where it came from.
QImage Landmarks(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, uint32_t(x) << 12 | uint32_t(y));
    return picture;
}

class PaiCtrlPaintTest : public testing::Test {
protected:
    PaiCtrlPaintTest()
    {
        dx7->Initialize(nullptr, nullptr, 792, 566);
        const QImage sheet = TestSheet();
        const PixelRect sheetRect{0, 0, sheet.width(), sheet.height()};
        const int32_t tiles = dx7->GetFreeNumber();
        dx7->LoadPicture(tiles, sheet, true, 0xFF00FF, 0xFF00FF);
        const int32_t onWhite = dx7->GetFreeNumber();
        dx7->CreateSprite(onWhite, sheet.width(), sheet.height(), true, 0xFFFFFF, 0xFFFFFF);
        dx7->DD7Fill(onWhite, sheetRect, 0xFFFFFF);
        dx7->DD7SpriteBltFast(onWhite, 0, 0, tiles, sheetRect);
        dx7->CreateSprite(work, kWidth, kHeight);
        dx7->CreateSprite(wall, kWidth, kHeight);
        ctrl.SetDX7(dx7);
        ctrl.SetDX7Work(work, kWidth, kHeight);
        ctrl.SetDX7Sprite(tiles, onWhite, sheet.width(), sheet.height());
        ctrl.SetDX7Wall(wall);
        ctrl.SetDX7Sound(sounds.path);
        ctrl.Sounds(true);
        ctrl.ChangeWallpaper(QImage(), true);
    }

    // Five tiles far apart in a row and one more on the middle one (slot 4).
    void Start(int faceDown)
    {
        const std::string layout = WriteLayout(
            folder, {Code(0, 2, 2), Code(0, 8, 2), Code(0, 14, 2), Code(0, 20, 2), Code(1, 14, 2), Code(0, 26, 2)}, 2, 2);
        ctrl.GameInit(layout, 1, faceDown);
        answer = ctrl.Board().RemovalOrder();
    }

    uint32_t At(int32_t sprite, int x, int y) const { return dx7->SpriteSurface(sprite)->Pixel(x, y) & 0xFFFFFF; }
    uint32_t Tile(int32_t id, int dx, int dy) const
    {
        return At(work, ctrl.Board().PaiBltX(id) + dx, ctrl.Board().PaiBltY(id) + dy);
    }
    uint32_t FrameOf(int32_t id) const { return Tile(id, 2, 2); }
    uint32_t FaceOf(int32_t id) const { return Tile(id, 18, 25); }
    uint32_t EdgeOf(int32_t id) const { return Tile(id, 40, 54); }

    // Every tile in sight shows the cell of its mode, and its face unless face down.
    void ExpectCells(bool hint) const
    {
        for (const int32_t id : {0, 1, 3, 4, 5}) {
            const int32_t mode = ctrl.Board().ModeGet(id, hint);
            EXPECT_EQ(FrameOf(id), FrameColour(mode)) << id;
            EXPECT_EQ(EdgeOf(id), EdgeColour(mode)) << id;
            EXPECT_EQ(FaceOf(id), mode == 0 ? FrameColour(0) : FaceColour(ctrl.Board().PaiIndex(id))) << id;
        }
    }

    std::vector<uint32_t> WorkPixels() const
    {
        const PixelSurface& surface = *dx7->SpriteSurface(work);
        return {surface.Pixels(), surface.Pixels() + kWidth * kHeight};
    }

    std::filesystem::path folder = FreshFolder();
    SoundRig sounds{folder};
    std::shared_ptr<DX7Draw> dx7 = std::make_shared<DX7Draw>();
    const int32_t work = 5;
    const int32_t wall = 6;
    PaiCtrl ctrl;
    std::vector<int32_t> answer;
};

TEST_F(PaiCtrlPaintTest, EachModeShowsItsFrameCell)
{
    Start(0);
    ctrl.PaintMap();
    ExpectCells(false);
    EXPECT_EQ(FrameOf(0), FrameColour(PaiStructure::MODE_NORMAL));
    EXPECT_EQ(At(work, 600, 500), kGreen);

    ctrl.ClickPai(answer[0]);
    ctrl.PaintMap();
    ExpectCells(false);
    EXPECT_EQ(FrameOf(answer[0]), FrameColour(PaiStructure::MODE_SELECTED));

    ctrl.ClickPai(PaiCtrl::PAI_HINT);
    ctrl.PaintMap();
    ExpectCells(true);
    EXPECT_EQ(FrameOf(answer[0]), FrameColour(PaiStructure::MODE_HINT));

    // Auto-hint keeps the marks after a tile click.
    ctrl.ClickPai(answer[0]);
    ctrl.ClickPai(answer[0]);
    ctrl.AutoHint(true);
    ctrl.PaintMap();
    EXPECT_EQ(FrameOf(answer[0]), FrameColour(PaiStructure::MODE_HINT));
    ctrl.AutoHint(false);

    PlaySets(ctrl, answer, 0, 1);
    ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK);
    ctrl.PaintMap();
    ExpectCells(false);
    EXPECT_EQ(FrameOf(answer[1]), FrameColour(PaiStructure::MODE_PLAYBACK));

    Start(1);
    ctrl.PaintMap();
    ExpectCells(false);
    EXPECT_EQ(FrameOf(0), FrameColour(PaiStructure::MODE_FACEDOWN));
}

TEST_F(PaiCtrlPaintTest, FocusMarksOnlyFreeTilesAndShowsFacesOfFaceDownOnes)
{
    Start(0);
    ctrl.PaintMap();
    const std::vector<uint32_t> painted = WorkPixels();
    ctrl.FocusPai(0);
    ctrl.PaintFocus();
    EXPECT_EQ(FrameOf(0), FrameColour(kFocusCell));
    EXPECT_EQ(FaceOf(0), FaceColour(ctrl.Board().PaiIndex(0)));
    EXPECT_EQ(EdgeOf(0), EdgeColour(PaiStructure::MODE_NORMAL));
    ASSERT_FALSE(ctrl.Board().Selectable(2));
    for (const int32_t focus : {2, -1}) {
        ctrl.FocusPai(focus);
        ctrl.PaintFocus();
        EXPECT_EQ(WorkPixels(), painted) << "no mark on " << focus;
    }

    // A selected tile keeps its side under the mark.
    ctrl.ClickPai(0);
    ctrl.PaintMap();
    ctrl.FocusPai(0);
    ctrl.PaintFocus();
    EXPECT_EQ(FrameOf(0), FrameColour(kFocusCell));
    EXPECT_EQ(EdgeOf(0), EdgeColour(PaiStructure::MODE_SELECTED));

    Start(1);
    ctrl.PaintMap();
    ctrl.FocusPai(0);
    ctrl.PaintFocus();
    EXPECT_EQ(FaceOf(0), FaceColour(ctrl.Board().PaiIndex(0)));
    EXPECT_EQ(EdgeOf(0), EdgeColour(PaiStructure::MODE_FACEDOWN));
}

TEST_F(PaiCtrlPaintTest, ClearAnimationFrames)
{
    Start(0);
    ctrl.PaintMap();
    sounds.Played();
    for (const int t : {0, 20, 57, 90, 113}) {
        ctrl.PaintClear(t);
        // The backs of the CLEAR figure rise from 57 pixels below their place.
        std::vector<bool> back(kWidth * kHeight);
        for (int i = 0; i < PaiStructure::kClearTiles; ++i) {
            BoardPoint origin;
            ctrl.Board().GetClearRect(origin, i);
            const int top = t < 57 ? origin.y + 57 - t : origin.y;
            for (int y = top; y < top + (t < 57 ? t : 114 - t); ++y)
                for (int x = origin.x; x < origin.x + 43; ++x)
                    back[y * kWidth + x] = true;
        }
        int wrong = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const uint32_t pixel = At(work, x, y);
                wrong += back[y * kWidth + x] ? pixel != FrameColour(0) && pixel != EdgeColour(0) : pixel != kGreen;
            }
        EXPECT_EQ(wrong, 0) << "frame " << t;
    }
    EXPECT_EQ(sounds.Played(), (std::vector<std::pair<int, int>>{{PaiCtrl::SOUND_CLEAR, 8}}));
    BoardPoint origin;
    ctrl.Board().GetClearRect(origin, 0);
    EXPECT_EQ(At(work, origin.x + 10, origin.y), EdgeColour(0)) << "the last row left is the bottom edge";
}

TEST_F(PaiCtrlPaintTest, CentredAndTiledWallpapers)
{
    const QImage small = Landmarks(100, 80);
    const QImage large = Landmarks(700, 600);
    const QImage exact = Landmarks(kWidth, kHeight);
    int pumped = 0;
    ctrl.SetEventPump([&] { ++pumped; });
    // Centred pictures are cut evenly or framed in green; tiles start top-left.
    for (const QImage* picture : {&small, &large, &exact})
        for (const bool centred : {true, false}) {
            ctrl.ChangeWallpaper(*picture, centred);
            const int left = centred ? (kWidth - picture->width()) / 2 : 0;
            const int top = centred ? (kHeight - picture->height()) / 2 : 0;
            int wrong = 0;
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x) {
                    const int px = centred ? x - left : x % picture->width();
                    const int py = centred ? y - top : y % picture->height();
                    const bool inside = px >= 0 && py >= 0 && px < picture->width() && py < picture->height();
                    wrong += At(wall, x, y) != (inside ? picture->pixel(px, py) & 0xFFFFFF : kGreen);
                }
            EXPECT_EQ(wrong, 0) << picture->width() << (centred ? " centred" : " tiled");
        }
    EXPECT_GE(pumped, 1);

    ctrl.ChangeWallpaper(QImage(), false);
    EXPECT_EQ(At(wall, 300, 300), kGreen);
    ctrl.PaintMap();
    ctrl.Blit(4, 4);
    EXPECT_EQ(dx7->BackSurface()->Pixel(304, 304) & 0xFFFFFF, kGreen);
}

} // namespace
