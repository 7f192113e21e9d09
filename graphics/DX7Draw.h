#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QRect>

#include "PictureBox.h"
#include "PixelFormat.h"
#include "PixelRect.h"
#include "PixelSurface.h"

class QPainter;
class QWidget;

// The sprite-surface layer of one window: a back surface into which the
// picture is composed, and up to 99 numbered sprites (1..99) holding pictures
// and work areas. Callers name sprites by number; a number out of range or not
// in use makes a drawing call do nothing. Colours are 0x00BBGGRR.
class DX7Draw {
public:
    static constexpr int32_t SpriteCount = 99;

    DX7Draw();
    ~DX7Draw();
    DX7Draw(const DX7Draw&) = delete;
    DX7Draw& operator=(const DX7Draw&) = delete;

    bool FullScreenMode() const { return fullScreenMode_; }

    // Builds the back surface of scr_w × scr_h for the frame window and its
    // picture window. A size below 1 does nothing and leaves the layer
    // uninitialised. Either window may be null (no presenting).
    void Initialize(QWidget* frm_hWnd, PictureBox* pic_hWnd, int32_t scr_w, int32_t scr_h);
    // Makes the back surface again at w × h, keeping the sprites; a size
    // below 1 does nothing.
    void ResizeBackSurface(int32_t w, int32_t h);
    // Lowest free sprite number, 0 when all are taken or before Initialize.
    int32_t GetFreeNumber() const;
    // Toggles full screen for the frame window (the picture is stretched to
    // it), rebuilds the back surface and reloads sprites loaded from pictures.
    // Sprites made by CreateSprite must be created again by the caller.
    void ChangeScreen(QWidget* frm_hWnd, PictureBox* pic_hWnd, int32_t scr_w, int32_t scr_h);

    // Creates an empty dw × dh sprite under Index (replacing what it held).
    // Its content is undefined until filled or drawn over.
    void CreateSprite(int32_t Index, int32_t dw, int32_t dh, bool IsColorKey = false,
                      uint32_t colorL = 0, uint32_t colorH = 0);
    // Creates a sprite of the picture's size holding the picture. A null
    // picture raises NumberedError 5.
    void LoadPicture(int32_t Index, const QImage& pic, bool IsColorKey = false,
                     uint32_t colorL = 0, uint32_t colorH = 0);

    // Copies from a picture into a sprite, clipped to both (never keyed).
    void DD7LoadPicBlt(int32_t destIndex, const PixelRect& destR, const QImage& srcPicture,
                       const PixelRect& srcR);
    void DD7LoadPicBltFast(int32_t destIndex, const PixelRect& destR, const QImage& srcPicture,
                           int32_t srcX, int32_t srcY);
    // Sprite copies, keyed when the source sprite has a colour key. They are
    // not clipped: a rectangle reaching outside its surface draws nothing.
    void DD7SpriteBlt(int32_t destIndex, const PixelRect& destR, int32_t srcIndex,
                      const PixelRect& srcR);
    void DD7SpriteBltFast(int32_t destIndex, int32_t destX, int32_t destY, int32_t srcIndex,
                          const PixelRect& srcR);
    void DD7Blt(const PixelRect& destR, int32_t srcIndex, const PixelRect& srcR);
    void DD7BltFast(int32_t destX, int32_t destY, int32_t srcIndex, const PixelRect& srcR);

    // Shows the back surface in the picture window (the one given to Initialize).
    void DD7Flip(PictureBox* hWnd);
    void DD7Fill(int32_t Index, const PixelRect& r, uint32_t FillColor);
    void DD7SetFont(const QFont& myFont);
    // Draws UTF-8 text on the back surface, one line per CR LF, 14 pixels
    // apart unless another pitch is set.
    void DD7DrawText(int32_t x, int32_t y, const std::string& s);
    void DD7SetLinePitch(double pitch) { linePitch_ = pitch; }
    // Lets paint draw on the back surface with a painter, in the text's font.
    void DD7Paint(const std::function<void(QPainter&)>& paint);

    // Read access for presenting and for checking drawn pixels. Null when the
    // number is not in use or has no surface (or before Initialize).
    const PixelSurface* SpriteSurface(int32_t Index) const;
    const PixelSurface* BackSurface() const { return backSurface_.get(); }

private:
    enum SpriteState : int32_t { StateFree = 0, StateCreated = 1, StateLoaded = 2 };

    struct SpriteRecord {
        std::unique_ptr<PixelSurface> surface;
        bool colorKey = false;
        ColorKey key;
        // The colours the key was given in, for reloading after ChangeScreen.
        uint32_t keyColorL = 0;
        uint32_t keyColorH = 0;
        QImage picture;
        int32_t state = StateFree;
    };

    void SetupFullScreen(QWidget* frm_hWnd, PictureBox* pic_hWnd);
    void ReleaseSurfaces(bool forgetPictures);
    bool IsSpriteUsed(int32_t Index) const;

    void SetColorKey(SpriteRecord& record, bool IsColorKey, uint32_t colorL, uint32_t colorH);
    // The surface of a sprite in use, or null.
    PixelSurface* DrawableSprite(int32_t Index);
    const ColorKey* KeyOf(int32_t Index) const;
    void RestoreWindowedFrame(QWidget* frm_hWnd, PictureBox* pic_hWnd);

    bool fullScreenMode_ = false;
    bool initialised_ = false;
    // Surfaces hold 0x00RRGGBB whatever the desktop runs at.
    const PixelFormat format_;
    std::array<SpriteRecord, SpriteCount + 1> sprites_;
    std::unique_ptr<PixelSurface> backSurface_;
    std::unique_ptr<PixelSurface> retiredBack_;
    QFont textFont_;
    double linePitch_ = 14.0;
    QPointer<PictureBox> presentedIn_;
    std::optional<QRect> windowedPictureGeometry_;
};
