#include <QImage>

#include "BoardSprites.h"
#include "DX7Draw.h"
#include "GameTestSupport.h"

using namespace gametest;

namespace {

constexpr int kWidth = 655, kHeight = 557, kFocusCell = 2;
constexpr uint32_t kGreen = 0x00FF00;

// Colours of the test sheet, none of them white or magenta.
uint32_t FaceColour(int face) { return 0x142040u + 0x10002u * face; }
uint32_t FrameColour(int cell) { return 0x64961Eu + 0x140001u * cell; }
uint32_t EdgeColour(int cell) { return 0x3264C8u + 0x1400u * cell; }

// A picture whose every pixel is the colour of(x, y).
template <typename Colour> QImage Picture(int width, int height, Colour of)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, of(x, y));
    return picture;
}

// The tile sheet's geometry: faces as coloured blocks on white, frame cells as
// a coloured face area with a differently coloured edge, magenta around.
QImage TestSheet()
{
    return Picture(370, 363, [](int x, int y) -> uint32_t {
        if (y >= 306)
            return x >= 258 ? 0xFF00FF : x % 43 < 37 && y < 357 ? FrameColour(x / 43) : EdgeColour(x / 43);
        const int fx = x % 37, fy = y % 51;
        return fx >= 8 && fx < 29 && fy >= 10 && fy < 41 ? FaceColour(y / 51 * 10 + x / 37) : 0xFFFFFF;
    });
}

class PaiCtrlPaintTest : public testing::Test {
protected:
    PaiCtrlPaintTest()
    {
        dx7->Initialize(nullptr, nullptr, 792, 566);
        const QImage sheet = TestSheet();
        ctrl.SetDX7(dx7);
        const BoardSprites sprites = SetUpBoardSprites(*dx7, ctrl, sheet);
        work = sprites.work;
        wall = sprites.wall;
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

    // Painted afresh, id has the mode expected, and every tile in sight shows
    // the cell of its mode, and its face unless face down.
    void ExpectPainted(int32_t id, int32_t mode)
    {
        ctrl.PaintMap();
        const bool hint = ctrl.LastAction() == PaiCtrl::PAI_HINT || ctrl.AutoHint();
        EXPECT_EQ(ctrl.Board().ModeGet(id, hint), mode);
        for (const int32_t tile : {0, 1, 3, 4, 5}) {
            const int32_t shown = ctrl.Board().ModeGet(tile, hint);
            EXPECT_EQ(FrameOf(tile), FrameColour(shown)) << tile;
            EXPECT_EQ(EdgeOf(tile), EdgeColour(shown)) << tile;
            EXPECT_EQ(FaceOf(tile), shown == 0 ? FrameColour(0) : FaceColour(ctrl.Board().PaiIndex(tile))) << tile;
        }
    }

    void Focus(int32_t id)
    {
        ctrl.FocusPai(id);
        ctrl.PaintFocus();
    }

    std::vector<uint32_t> WorkPixels() const
    {
        const PixelSurface& surface = *dx7->SpriteSurface(work);
        return {surface.Pixels(), surface.Pixels() + kWidth * kHeight};
    }

    // How many pixels of the sprite differ from expected(x, y).
    template <typename Expected> int Wrong(int32_t sprite, Expected expected) const
    {
        int wrong = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                wrong += !expected(x, y, At(sprite, x, y));
        return wrong;
    }

    std::filesystem::path folder = FreshFolder();
    SoundRig sounds{folder};
    std::shared_ptr<DX7Draw> dx7 = std::make_shared<DX7Draw>();
    int32_t work = 0;
    int32_t wall = 0;
    PaiCtrl ctrl;
    std::vector<int32_t> answer;
};

TEST_F(PaiCtrlPaintTest, EachModeShowsItsFrameCell)
{
    Start(0);
    ExpectPainted(0, PaiStructure::MODE_NORMAL);
    EXPECT_EQ(At(work, 600, 500), kGreen);
    ctrl.ClickPai(answer[0]);
    ExpectPainted(answer[0], PaiStructure::MODE_SELECTED);
    ctrl.ClickPai(PaiCtrl::PAI_HINT);
    ExpectPainted(answer[0], PaiStructure::MODE_HINT);
    // Auto-hint keeps the marks after a tile click.
    ctrl.ClickPai(answer[0]);
    ctrl.ClickPai(answer[0]);
    ctrl.AutoHint(true);
    ExpectPainted(answer[0], PaiStructure::MODE_HINT);
    ctrl.AutoHint(false);
    PlaySets(ctrl, answer, 0, 1);
    ctrl.ClickPai(PaiCtrl::PAI_PLAYBACK);
    ExpectPainted(answer[1], PaiStructure::MODE_PLAYBACK);
    Start(1);
    ExpectPainted(0, PaiStructure::MODE_FACEDOWN);
}

TEST_F(PaiCtrlPaintTest, FocusMarksOnlyFreeTilesAndShowsFacesOfFaceDownOnes)
{
    Start(0);
    ctrl.PaintMap();
    const std::vector<uint32_t> painted = WorkPixels();
    ASSERT_FALSE(ctrl.Board().Selectable(2));
    for (const int32_t focus : {2, -1}) {
        Focus(focus);
        EXPECT_EQ(WorkPixels(), painted) << "no mark on " << focus;
    }
    // The mark shows the face and keeps the tile's side.
    const struct { int faceDown; bool select; int32_t side; } cases[] = {
        {0, false, PaiStructure::MODE_NORMAL}, {0, true, PaiStructure::MODE_SELECTED}, {1, false, PaiStructure::MODE_FACEDOWN}};
    for (const auto& c : cases) {
        Start(c.faceDown);
        if (c.select)
            ctrl.ClickPai(0);
        ctrl.PaintMap();
        Focus(0);
        EXPECT_EQ(FrameOf(0), FrameColour(kFocusCell));
        EXPECT_EQ(FaceOf(0), FaceColour(ctrl.Board().PaiIndex(0)));
        EXPECT_EQ(EdgeOf(0), EdgeColour(c.side)) << c.side;
    }
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
                std::fill_n(back.begin() + y * kWidth + origin.x, 43, true);
        }
        EXPECT_EQ(Wrong(work, [&](int x, int y, uint32_t pixel) {
                      return back[y * kWidth + x] ? pixel == FrameColour(0) || pixel == EdgeColour(0) : pixel == kGreen;
                  }), 0) << "frame " << t;
    }
    EXPECT_EQ(sounds.Played(), (Plays{{PaiCtrl::SOUND_CLEAR, 8}}));
    BoardPoint origin;
    ctrl.Board().GetClearRect(origin, 0);
    EXPECT_EQ(At(work, origin.x + 10, origin.y), EdgeColour(0)) << "the last row left is the bottom edge";
}

TEST_F(PaiCtrlPaintTest, CentredAndTiledWallpapers)
{
    int pumped = 0;
    ctrl.SetEventPump([&] { ++pumped; });
    // Centred pictures are cut evenly or framed in green; tiles start top-left.
    for (const QSize size : {QSize(100, 80), QSize(700, 600), QSize(kWidth, kHeight)})
        for (const bool centred : {true, false}) {
            const QImage picture = Picture(size.width(), size.height(), [](int x, int y) { return uint32_t(x) << 12 | y; });
            ctrl.ChangeWallpaper(picture, centred);
            const int left = centred ? (kWidth - size.width()) / 2 : 0, top = centred ? (kHeight - size.height()) / 2 : 0;
            EXPECT_EQ(Wrong(wall, [&](int x, int y, uint32_t pixel) {
                          const int px = centred ? x - left : x % size.width(), py = centred ? y - top : y % size.height();
                          const bool inside = QRect({0, 0}, size).contains(px, py);
                          return pixel == (inside ? picture.pixel(px, py) & 0xFFFFFF : kGreen);
                      }), 0) << size.width() << (centred ? " centred" : " tiled");
        }
    EXPECT_GE(pumped, 1);

    ctrl.ChangeWallpaper(QImage(), false);
    EXPECT_EQ(At(wall, 300, 300), kGreen);
    ctrl.PaintMap();
    ctrl.Blit(4, 4);
    EXPECT_EQ(dx7->BackSurface()->Pixel(304, 304) & 0xFFFFFF, kGreen);
}

} // namespace
