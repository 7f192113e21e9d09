#include "PaiCtrl.h"

#include <algorithm>

#include <QImage>

#include "DX7Draw.h"
#include "PaiStructure.h"

namespace {

// The tile sheet: faces of 37 × 51 in rows of ten, and below them a row of
// 43 × 57 frame cells, one per display mode.
constexpr int32_t kFaceWidth = 37;
constexpr int32_t kFaceHeight = 51;
constexpr int32_t kFacesPerRow = 10;
constexpr int32_t kFrameTop = 306;
constexpr int32_t kFrameWidth = 43;
constexpr int32_t kFrameHeight = 57;
constexpr int32_t kFocusCell = 2;
constexpr int32_t kFaceDownCell = 0;

constexpr int32_t kClearFrames = 114;
constexpr int32_t kClearStandFrame = 57;
constexpr int32_t kTileBottom = kFrameHeight;

constexpr uint32_t kWallpaperGreen = 0x00FF00;

PixelRect FrameCell(int32_t cell)
{
    return {kFrameWidth * cell, kFrameTop, kFrameWidth * cell + kFrameWidth, kFrameTop + kFrameHeight};
}

// The part of the face-down cell shown at frame t: rising out of a line 57
// pixels below the tile, standing whole at frame 57, then leaving through
// its top edge.
PixelRect ClearSource(int32_t t)
{
    const PixelRect back = FrameCell(kFaceDownCell);
    if (t < kClearStandFrame)
        return {back.Left, back.Top, back.Right, back.Top + t};
    return {back.Left, t + (kFrameTop - kClearStandFrame), back.Right, back.Bottom};
}


} // namespace

void PaiCtrl::SetDX7(std::shared_ptr<DX7Draw> dx7) { dx7_ = std::move(dx7); }

void PaiCtrl::SetDX7Work(int32_t work, int32_t width, int32_t height)
{
    workSprite_ = work;
    boardWidth_ = width;
    boardHeight_ = height;
    cacheSprite_ = dx7_->GetFreeNumber();
    dx7_->CreateSprite(cacheSprite_, width, height);
}

void PaiCtrl::SetDX7Sprite(int32_t frameSheet, int32_t faceSheet, int32_t, int32_t)
{
    frameSheet_ = frameSheet;
    faceSheet_ = faceSheet;
}

void PaiCtrl::SetDX7Wall(int32_t wall) { wallSprite_ = wall; }

void PaiCtrl::SetBoardView(const BoardView& view, const BoardView& clear, int32_t clearSheet, int32_t width,
                           int32_t height)
{
    view_ = view;
    clearView_ = clear;
    clearSheet_ = clearSheet;
    boardWidth_ = width;
    boardHeight_ = height;
    if (!dx7_)
        return;
    dx7_->CreateSprite(workSprite_, width, height);
    dx7_->CreateSprite(cacheSprite_, width, height);
    dx7_->CreateSprite(wallSprite_, width, height);
    PaintWallpaper();
}

void PaiCtrl::PaintMap()
{
    if (!dx7_)
        return;
    dx7_->DD7SpriteBltFast(workSprite_, 0, 0, wallSprite_, BoardRect());
    const bool hint = lastAction_ == PAI_HINT || autoHint_;
    for (const int32_t id : drawOrder_) {
        if (board_->Validity(id))
            PaintPai(id, board_->ModeGet(id, hint));
    }
    dx7_->DD7SpriteBltFast(cacheSprite_, 0, 0, workSprite_, BoardRect());
}

void PaiCtrl::PaintPai(int32_t id, int32_t mode)
{
    const int32_t x = view_.X(board_->PaiBltX(id));
    const int32_t y = view_.Y(board_->PaiBltY(id));
    dx7_->DD7SpriteBltFast(workSprite_, x, y, frameSheet_, view_.Sheet(FrameCell(mode)));
    if (mode != PaiStructure::MODE_FACEDOWN)
        dx7_->DD7SpriteBltFast(workSprite_, x, y, faceSheet_, view_.Sheet(FaceCell(id)));
}

PixelRect PaiCtrl::FaceCell(int32_t id) const
{
    const int32_t face = board_->PaiIndex(id);
    const int32_t left = face % kFacesPerRow * kFaceWidth;
    const int32_t top = face / kFacesPerRow * kFaceHeight;
    return {left, top, left + kFaceWidth, top + kFaceHeight};
}

void PaiCtrl::PaintFocus()
{
    if (!dx7_)
        return;
    dx7_->DD7SpriteBltFast(workSprite_, 0, 0, cacheSprite_, BoardRect());
    if (focusId_ >= 0 && focusId_ < PaiStructure::kSlots && board_->Selectable(focusId_))
        PaintFocusPai(focusId_);
}

// The face is drawn even on a face-down tile: a free face-down tile shows
// its face while the mouse is on it.
void PaiCtrl::PaintFocusPai(int32_t id)
{
    const int32_t x = view_.X(board_->PaiBltX(id));
    const int32_t y = view_.Y(board_->PaiBltY(id));
    const PixelRect cell = FrameCell(kFocusCell);
    dx7_->DD7SpriteBltFast(workSprite_, x, y, frameSheet_,
                           view_.Sheet({cell.Left, cell.Top, cell.Left + kFaceWidth, cell.Top + kFaceHeight}));
    dx7_->DD7SpriteBltFast(workSprite_, x, y, faceSheet_, view_.Sheet(FaceCell(id)));
}

void PaiCtrl::PaintClear(int32_t t)
{
    if (t == 0)
        PlaySoundEffect(SOUND_CLEAR);
    if (!dx7_ || t < 0 || t >= kClearFrames)
        return;
    dx7_->DD7SpriteBltFast(workSprite_, 0, 0, wallSprite_, BoardRect());
    const PixelRect source = clearView_.Sheet(ClearSource(t));
    const int32_t sheet = clearSheet_ != 0 ? clearSheet_ : frameSheet_;
    for (int32_t i = 0; i < PaiStructure::kClearTiles; ++i) {
        BoardPoint origin;
        board_->GetClearRect(origin, i);
        // Rising frames keep their lower edge on the line the figure rises from.
        const int32_t top = t < kClearStandFrame ? clearView_.Y(origin.y + kTileBottom) - source.Height()
                                                 : clearView_.Y(origin.y);
        dx7_->DD7SpriteBltFast(workSprite_, clearView_.X(origin.x), top, sheet, source);
    }
}

void PaiCtrl::Blit(int32_t x, int32_t y)
{
    if (dx7_)
        dx7_->DD7BltFast(x, y, workSprite_, BoardRect());
}

void PaiCtrl::ChangeWallpaper(const QImage& picture, bool centred)
{
    wallPicture_ = picture;
    wallCentred_ = centred;
    PaintWallpaper();
}

// The picture at the board's scale, never stretched.
void PaiCtrl::PaintWallpaper()
{
    if (!dx7_)
        return;
    dx7_->DD7Fill(wallSprite_, BoardRect(), kWallpaperGreen);
    const bool centred = wallCentred_;
    const QImage picture = view_.scale == 1.0 || wallPicture_.isNull()
                               ? wallPicture_
                               : wallPicture_.scaled(BoardView::Scaled(wallPicture_.width(), view_.scale),
                                                     BoardView::Scaled(wallPicture_.height(), view_.scale),
                                                     Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const int32_t width = picture.width();
    const int32_t height = picture.height();
    // An empty picture (the holder before any choice) leaves plain green.
    if (width < 1 || height < 1)
        return;
    if (!centred) {
        TileWallpaper(picture, std::min(width, boardWidth_), std::min(height, boardHeight_));
        return;
    }
    const int32_t left = (boardWidth_ - width) / 2;
    const int32_t top = (boardHeight_ - height) / 2;
    dx7_->DD7LoadPicBltFast(wallSprite_, {left, top, left + width, top + height}, picture, 0, 0);
}

// Column by column from the top-left corner; the last column and row are cut
// by the board's edge.
void PaiCtrl::TileWallpaper(const QImage& picture, int32_t width, int32_t height)
{
    const QImage converted = picture.convertToFormat(QImage::Format_RGB32);
    for (int32_t left = 0; left < boardWidth_; left += width) {
        for (int32_t top = 0; top < boardHeight_; top += height) {
            dx7_->DD7LoadPicBltFast(wallSprite_, {left, top, left + width, top + height}, converted, 0, 0);
            PumpEvents();
        }
    }
}
