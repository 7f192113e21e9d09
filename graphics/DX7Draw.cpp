#include "DX7Draw.h"

#include <QFontMetrics>
#include <QPainter>
#include <utility>
#include <QScreen>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "Language.h"
#include "NumberedError.h"

namespace {


QImage ToSurfaceFormat(const QImage& picture)
{
    return picture.convertToFormat(QImage::Format_RGB32);
}

PixelView ViewOf(const QImage& rgb32)
{
    if (rgb32.isNull()) {
        return {};
    }
    return {reinterpret_cast<const uint32_t*>(rgb32.constBits()), rgb32.width(), rgb32.height(),
            rgb32.bytesPerLine() / qsizetype(sizeof(uint32_t))};
}

// Splits at every CR LF pair; a lone CR or LF stays in its line.
std::vector<std::string> SplitAtCrLf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    lines.push_back(text.substr(start));
    return lines;
}

}  // namespace

DX7Draw::DX7Draw()
{
    textFont_.setFamilies(TextFontFamilies());
    textFont_.setPointSize(9);
}

DX7Draw::~DX7Draw()
{
    ReleaseSurfaces(true);
}

void DX7Draw::Initialize(QWidget* frm_hWnd, PictureBox* pic_hWnd, int32_t scr_w, int32_t scr_h)
{
    if (scr_w < 1 || scr_h < 1) {
        return;
    }
    backSurface_ = std::make_unique<PixelSurface>(scr_w, scr_h);
    if (fullScreenMode_) {
        SetupFullScreen(frm_hWnd, pic_hWnd);
    } else {
        RestoreWindowedFrame(frm_hWnd, pic_hWnd);
    }
    initialised_ = true;
}

void DX7Draw::ResizeBackSurface(int32_t w, int32_t h)
{
    if (w < 1 || h < 1 || !initialised_)
        return;
    // The picture window goes on showing the old surface until the next flip.
    retiredBack_ = std::exchange(backSurface_, std::make_unique<PixelSurface>(w, h));
}

int32_t DX7Draw::GetFreeNumber() const
{
    if (!initialised_) {
        return 0;
    }
    for (int32_t number = 1; number <= SpriteCount; ++number) {
        if (sprites_[number].state == StateFree) {
            return number;
        }
    }
    return 0;
}

void DX7Draw::ChangeScreen(QWidget* frm_hWnd, PictureBox* pic_hWnd, int32_t scr_w, int32_t scr_h)
{
    ReleaseSurfaces(false);
    fullScreenMode_ = !fullScreenMode_;
    Initialize(frm_hWnd, pic_hWnd, scr_w, scr_h);
    for (int32_t number = 1; number <= SpriteCount; ++number) {
        SpriteRecord& record = sprites_[number];
        if (record.state == StateLoaded) {
            const QImage picture = record.picture;
            LoadPicture(number, picture, record.colorKey, record.keyColorL, record.keyColorH);
        }
    }
}

void DX7Draw::CreateSprite(int32_t Index, int32_t dw, int32_t dh, bool IsColorKey, uint32_t colorL,
                           uint32_t colorH)
{
    if (Index < 1 || Index > SpriteCount) {
        return;
    }
    SpriteRecord& record = sprites_[Index];
    SetColorKey(record, IsColorKey, colorL, colorH);
    record.surface = std::make_unique<PixelSurface>(dw, dh);
    record.picture = QImage();
    record.state = StateCreated;
}

void DX7Draw::LoadPicture(int32_t Index, const QImage& pic, bool IsColorKey, uint32_t colorL,
                          uint32_t colorH)
{
    if (Index < 1 || Index > SpriteCount) {
        return;
    }
    SpriteRecord& record = sprites_[Index];
    SetColorKey(record, IsColorKey, colorL, colorH);
    if (pic.isNull()) {
        throw NumberedError(NumberedError::InvalidArgument,
                            "sprite " + std::to_string(Index) + ": the picture is empty");
    }
    auto surface = std::make_unique<PixelSurface>(pic.width(), pic.height());
    const QImage rgb32 = ToSurfaceFormat(pic);
    surface->CopyClipped(ViewOf(rgb32), 0, 0, {0, 0, pic.width(), pic.height()});
    record.surface = std::move(surface);
    record.picture = pic;
    record.state = StateLoaded;
}

void DX7Draw::DD7LoadPicBlt(int32_t destIndex, const PixelRect& destR, const QImage& srcPicture,
                            const PixelRect& srcR)
{
    if (PixelSurface* target = DrawableSprite(destIndex)) {
        target->StretchCopyClipped(ViewOf(ToSurfaceFormat(srcPicture)), srcR, destR);
    }
}

void DX7Draw::DD7LoadPicBltFast(int32_t destIndex, const PixelRect& destR, const QImage& srcPicture,
                                int32_t srcX, int32_t srcY)
{
    if (PixelSurface* target = DrawableSprite(destIndex)) {
        target->CopyClipped(ViewOf(ToSurfaceFormat(srcPicture)), srcX, srcY, destR);
    }
}

void DX7Draw::DD7SpriteBlt(int32_t destIndex, const PixelRect& destR, int32_t srcIndex,
                           const PixelRect& srcR)
{
    PixelSurface* target = DrawableSprite(destIndex);
    const PixelSurface* source = DrawableSprite(srcIndex);
    if (target != nullptr && source != nullptr) {
        target->StretchCopy(source->View(), srcR, destR, KeyOf(srcIndex));
    }
}

void DX7Draw::DD7SpriteBltFast(int32_t destIndex, int32_t destX, int32_t destY, int32_t srcIndex,
                               const PixelRect& srcR)
{
    PixelSurface* target = DrawableSprite(destIndex);
    const PixelSurface* source = DrawableSprite(srcIndex);
    if (target != nullptr && source != nullptr) {
        target->Copy(source->View(), srcR, destX, destY, KeyOf(srcIndex));
    }
}

void DX7Draw::DD7Blt(const PixelRect& destR, int32_t srcIndex, const PixelRect& srcR)
{
    const PixelSurface* source = DrawableSprite(srcIndex);
    if (backSurface_ != nullptr && source != nullptr) {
        backSurface_->StretchCopy(source->View(), srcR, destR, KeyOf(srcIndex));
    }
}

void DX7Draw::DD7BltFast(int32_t destX, int32_t destY, int32_t srcIndex, const PixelRect& srcR)
{
    const PixelSurface* source = DrawableSprite(srcIndex);
    if (backSurface_ != nullptr && source != nullptr) {
        backSurface_->Copy(source->View(), srcR, destX, destY, KeyOf(srcIndex));
    }
}

void DX7Draw::DD7Flip(PictureBox* hWnd)
{
    if (hWnd == nullptr || backSurface_ == nullptr) {
        return;
    }
    if (presentedIn_ != nullptr && presentedIn_ != hWnd) {
        presentedIn_->Present(nullptr);
    }
    presentedIn_ = hWnd;
    hWnd->Present(backSurface_.get());
    retiredBack_.reset();
}

void DX7Draw::DD7Fill(int32_t Index, const PixelRect& r, uint32_t FillColor)
{
    if (PixelSurface* target = DrawableSprite(Index)) {
        target->Fill(r, format_.ToPixelColor(FillColor));
    }
}

void DX7Draw::DD7SetFont(const QFont& myFont)
{
    QStringList families = myFont.families();
    if (families.isEmpty()) {
        families.append(myFont.family());
    }
    for (const QString& standIn : TextFontFamilies()) {
        if (!families.contains(standIn)) {
            families.append(standIn);
        }
    }
    textFont_ = myFont;
    textFont_.setFamilies(families);
}

void DX7Draw::DD7DrawText(int32_t x, int32_t y, const std::string& s)
{
    if (s.empty())
        return;
    // The painter sets neither colour nor background, so the defaults (black,
    // transparent) hold.
    DD7Paint([&](QPainter& painter) {
        const int ascent = painter.fontMetrics().ascent();
        const std::vector<std::string> lines = SplitAtCrLf(s);
        for (size_t k = 0; k < lines.size(); ++k) {
            const double top = double(y) + linePitch_ * double(k);
            painter.drawText(QPointF(x, top + ascent), QString::fromStdString(lines[k]));
        }
    });
}

void DX7Draw::DD7Paint(const std::function<void(QPainter&)>& paint)
{
    if (backSurface_ == nullptr)
        return;
    // Straight onto the back surface's memory.
    QImage canvas(reinterpret_cast<uchar*>(backSurface_->Pixels()), backSurface_->Width(),
                  backSurface_->Height(), backSurface_->Stride() * qsizetype(sizeof(uint32_t)),
                  QImage::Format_RGB32);
    QPainter painter(&canvas);
    painter.setFont(textFont_);
    paint(painter);
}

const PixelSurface* DX7Draw::SpriteSurface(int32_t Index) const
{
    return IsSpriteUsed(Index) ? sprites_[Index].surface.get() : nullptr;
}

void DX7Draw::SetupFullScreen(QWidget* frm_hWnd, PictureBox* pic_hWnd)
{
    if (frm_hWnd == nullptr) {
        return;
    }
    // The picture fills the screen and DD7Flip stretches the composition to it.
    if (pic_hWnd != nullptr && !windowedPictureGeometry_) {
        windowedPictureGeometry_ = pic_hWnd->geometry();
    }
    frm_hWnd->showFullScreen();
    if (pic_hWnd != nullptr && frm_hWnd->screen() != nullptr) {
        pic_hWnd->setGeometry(QRect(QPoint(0, 0), frm_hWnd->screen()->size()));
    }
}

void DX7Draw::RestoreWindowedFrame(QWidget* frm_hWnd, PictureBox* pic_hWnd)
{
    if (frm_hWnd != nullptr && frm_hWnd->isFullScreen()) {
        frm_hWnd->showNormal();
    }
    if (pic_hWnd != nullptr && windowedPictureGeometry_) {
        pic_hWnd->setGeometry(*windowedPictureGeometry_);
    }
    windowedPictureGeometry_.reset();
}

void DX7Draw::ReleaseSurfaces(bool forgetPictures)
{
    if (presentedIn_ != nullptr) {
        presentedIn_->Present(nullptr);
        presentedIn_ = nullptr;
    }
    for (int32_t number = 1; number <= SpriteCount; ++number) {
        SpriteRecord& record = sprites_[number];
        if (record.state == StateFree) {
            continue;
        }
        if (forgetPictures) {
            record.picture = QImage();
            record.state = StateFree;
        }
        record.surface.reset();
    }
    backSurface_.reset();
}

bool DX7Draw::IsSpriteUsed(int32_t Index) const
{
    return Index >= 1 && Index <= SpriteCount && sprites_[Index].state != StateFree;
}

void DX7Draw::SetColorKey(SpriteRecord& record, bool IsColorKey, uint32_t colorL, uint32_t colorH)
{
    record.colorKey = IsColorKey;
    record.keyColorL = colorL;
    record.keyColorH = colorH;
    if (IsColorKey) {
        record.key = {format_.ToPixelColor(colorL), format_.ToPixelColor(colorH)};
    }
}

PixelSurface* DX7Draw::DrawableSprite(int32_t Index)
{
    return IsSpriteUsed(Index) ? sprites_[Index].surface.get() : nullptr;
}

const ColorKey* DX7Draw::KeyOf(int32_t Index) const
{
    return sprites_[Index].colorKey ? &sprites_[Index].key : nullptr;
}
