#include "ButtonSheet.h"

#include "ArtFonts.h"
#include "KeyedStamp.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>

namespace {

// The screen's backdrop and the side panel's background: everything but the
// cursor and the labels is drawn over this colour.
const QColor Backdrop(0x33, 0x99, 0xFF);
const QColor Navy(0x1C, 0x2B, 0x4A);
constexpr int LabelMinAlpha = 100;
constexpr int SoftMinAlpha = 20;

// The words on the sheet in one language; the counter reads caption, figures, unit.
struct SheetWords {
    std::array<QString, 3> bar;  // options, hint, playback
    std::array<QString, 8> panel;
    QString caption;
    QString unit;
};

const SheetWords JapaneseWords{{"メニュー", "ヒント", "一手戻す"},
                               {"新しいゲーム", "やり直し", "セーブ", "ロード", "自動ヒント", "効果音", "壁紙", "閉じる"},
                               "残り",
                               "枚"};
// The caption stands in two lines before the figures; the unit cell stays empty.
const SheetWords EnglishWords{{"Menu", "Hint", "Undo"},
                              {"New game", "Restart", "Save", "Load", "Auto hint", "Sound", "Wallpaper", "Close"},
                              "Tiles\nleft",
                              ""};

struct FaceStyle {
    QColor top;
    QColor bottom;
    QColor border;
    qreal borderWidth;
};

FaceStyle FaceStyleOf(int mode)
{
    static const std::array<FaceStyle, 3> styles{{
        {QColor(0xFD, 0xFB, 0xF3), QColor(0xE4, 0xDA, 0xC2), QColor(0x2E, 0x4C, 0x80), 1.6},
        {QColor(0xFF, 0xF3, 0xCC), QColor(0xFF, 0xCF, 0x70), QColor(0xC8, 0x6A, 0x08), 2.4},
        {QColor(0xD8, 0xCC, 0xB0), QColor(0xF0, 0xEA, 0xD8), QColor(0x2E, 0x4C, 0x80), 2.0},
    }};
    return styles[mode];
}

QImage FaceLayer(int mode)
{
    const FaceStyle style = FaceStyleOf(mode);
    QImage layer = KeyedStamp::Layer(110, 32);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, 32);
    gradient.setColorAt(0, style.top);
    gradient.setColorAt(1, style.bottom);
    const qreal inset = style.borderWidth / 2;
    p.setPen(QPen(style.border, style.borderWidth));
    p.setBrush(gradient);
    p.drawRoundedRect(QRectF(inset, inset, 110 - 2 * inset, 32 - 2 * inset), 8, 8);
    if (mode == 2) {
        p.setPen(QPen(QColor(0x90, 0x84, 0x6C), 1.0));
        p.drawLine(QPointF(8, 3.5), QPointF(102, 3.5));
    }
    return layer;
}

QImage OpaqueOverBackdrop(const QImage& layer)
{
    QImage opaque(layer.size(), QImage::Format_RGB32);
    opaque.fill(Backdrop);
    QPainter(&opaque).drawImage(0, 0, layer);
    return opaque;
}

// The label's outline: Japanese in the bold gothic, English in the condensed
// Latin face, shrunk until it fits beside the icon (or the face's border).
QPainterPath LabelPath(const QString& text, ButtonSheet::Labels labels, qreal centreX)
{
    if (labels == ButtonSheet::Labels::Japanese)
        return ArtFonts::CenteredText(text, ArtFonts::Gothic(text.size() > 5 ? 14 : 16, true), {centreX, 16});
    const qreal room = 2 * (110 - centreX) - 16;
    QPainterPath path;
    for (qreal size = 17; size >= 9; --size) {
        path = ArtFonts::CenteredText(text, ArtFonts::CondensedSans(size), {centreX, 16});
        if (path.boundingRect().width() <= room)
            break;
    }
    return path;
}

QImage LabelLayer(const QString& text, ButtonSheet::Labels labels, qreal centreX = 55)
{
    QImage layer = KeyedStamp::Layer(110, 32);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(LabelPath(text, labels, centreX), Navy);
    return layer;
}

// Small pictures in front of the bar's labels: a menu, a light bulb, a turning-back arrow.
void PaintMenuIcon(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Navy);
    for (int i = 0; i < 3; ++i)
        p.drawRoundedRect(QRectF(11, 10 + 5 * i, 14, 2.6), 1.3, 1.3);
}

void PaintBulbIcon(QPainter& p)
{
    p.setPen(QPen(Navy, 1.4));
    p.setBrush(QColor(0xF8, 0xC8, 0x1C));
    p.drawEllipse(QPointF(18, 13.5), 6, 6);
    p.setBrush(Navy);
    p.drawRoundedRect(QRectF(15, 20, 6, 4.5), 1, 1);
    p.setPen(QPen(QColor(0xFF, 0xF4, 0xC0), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(14.5, 10, 5, 5), 100 * 16, 80 * 16);
}

void PaintBackArrowIcon(QPainter& p)
{
    QPainterPath turn;
    turn.moveTo(14, 12);
    turn.lineTo(20, 12);
    turn.arcTo(QRectF(15, 12, 10, 10), 90, -180);
    turn.lineTo(13, 22);
    p.setPen(QPen(Navy, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(turn);
    p.setPen(Qt::NoPen);
    p.setBrush(Navy);
    p.drawPolygon(QPolygonF({QPointF(8.5, 12), QPointF(15, 7.5), QPointF(15, 16.5)}));
}

QImage BarLabelLayer(int button, const SheetWords& words, ButtonSheet::Labels labels)
{
    QImage layer = LabelLayer(words.bar[button - 1], labels, 64);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    static const std::array<void (*)(QPainter&), 3> icons{PaintMenuIcon, PaintBulbIcon, PaintBackArrowIcon};
    icons[button - 1](p);
    return layer;
}

// White figures with a navy outline, read against the backdrop.
QImage OutlinedPathLayer(const QPainterPath& path, QSize size, qreal outline = 3.0)
{
    QImage layer = KeyedStamp::Layer(size.width(), size.height());
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    p.strokePath(path, QPen(Navy, outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(path, QColor(0xFF, 0xFF, 0xFF));
    return layer;
}

QImage OutlinedTextLayer(const QString& text, QSize size, qreal pixelSize)
{
    return OutlinedPathLayer(ArtFonts::CenteredText(text, ArtFonts::Gothic(pixelSize, true),
                                                    QPointF(size.width() / 2.0, size.height() / 2.0)),
                             size);
}

// The English caption: its lines stacked in the small Latin face.
QImage OutlinedLinesLayer(const QString& text, QSize size)
{
    const QStringList lines = text.split(u'\n');
    const qreal pitch = size.height() / static_cast<qreal>(lines.size());
    QPainterPath path;
    for (qsizetype i = 0; i < lines.size(); ++i)
        path.addPath(ArtFonts::CenteredText(lines[i], ArtFonts::CondensedSans(10),
                                            QPointF(size.width() / 2.0, pitch * (i + 0.5))));
    return OutlinedPathLayer(path, size, 2.4);
}

QImage CaptionLayer(const QString& text, ButtonSheet::Labels labels, QSize size)
{
    if (labels == ButtonSheet::Labels::English)
        return OutlinedLinesLayer(text, size);
    return OutlinedTextLayer(text, size, 17);
}

// The cursor is pixel art: a pointing hand whose fingertip is the hot spot (7, 1).
// 'X' outline, 'o' glove, 'g' shade, '.' transparent.
constexpr std::array<const char*, 22> CursorPixels{
    "......XXX...........", ".....XoooX..........", ".....XoogX..........",
    ".....XoogX..........", ".....XoogX..........", ".....XoogXXX........",
    ".....XoogXoogXX.....", ".....XoogXoogXogX...", ".....XoogXoogXoggX..",
    ".....XooooooooooogX.", ".XX..XooooooooooogX.", "XooX.XooooooooooogX.",
    "XoogXXooooooooooogX.", ".XoogXooooooooooogX.", "..XoogoooooooooooogX",
    "...XoooooooooooooogX", "....XooooooooooooogX", ".....XoooooooooooggX",
    "......XooooooooogggX", ".......XggggggggggX.", "........XXXXXXXXXX..",
    "....................",
};

void PaintCursor(QImage& sheet, QPoint at)
{
    for (int y = 0; y < static_cast<int>(CursorPixels.size()); ++y) {
        for (int x = 0; CursorPixels[y][x] != '\0'; ++x) {
            switch (CursorPixels[y][x]) {
            case 'X': sheet.setPixel(at + QPoint(x, y), qRgb(0x10, 0x10, 0x18)); break;
            case 'o': sheet.setPixel(at + QPoint(x, y), qRgb(0xFF, 0xFD, 0xF4)); break;
            case 'g': sheet.setPixel(at + QPoint(x, y), qRgb(0xB8, 0xBC, 0xC8)); break;
            default: break;
            }
        }
    }
}

QImage IndicatorLayer(bool on)
{
    QImage layer = KeyedStamp::Layer(55, 32);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF pill(6.5, 8.5, 42, 16);
    p.setPen(QPen(Navy, 1.2));
    p.setBrush(on ? QColor(0x2F, 0xB8, 0x4E) : QColor(0x8A, 0x94, 0xA6));
    p.drawRoundedRect(pill, 8, 8);
    const QPointF knob = on ? QPointF(40.5, 16.5) : QPointF(14.5, 16.5);
    p.setBrush(on ? QColor(0xE8, 0xFF, 0xE8) : QColor(0xD8, 0xDC, 0xE4));
    p.drawEllipse(knob, 5.5, 5.5);
    const QPointF textCentre = on ? QPointF(24.5, 16.5) : QPointF(31.5, 16.5);
    p.fillPath(ArtFonts::CenteredText(on ? "ON" : "OFF", ArtFonts::Gothic(10, true), textCentre),
               on ? QColor(0xF4, 0xFF, 0xF4) : QColor(0x28, 0x30, 0x40));
    return layer;
}

} // namespace

QRect ButtonSheet::CursorRect() { return {0, 0, 20, 22}; }
QRect ButtonSheet::DigitRect(int digit) { return {21 + 12 * digit, 0, 12, 22}; }
QRect ButtonSheet::CaptionRect() { return {142, 0, 44, 22}; }
QRect ButtonSheet::UnitRect() { return {186, 0, 22, 22}; }
QRect ButtonSheet::FaceRect(int mode) { return {0, 45 + 32 * mode, 110, 32}; }
QRect ButtonSheet::BarLabelRect(int button) { return {110, 45 + 32 * (button - 1), 110, 32}; }
QRect ButtonSheet::IndicatorRect(bool on) { return {on ? 0 : 55, 237, 55, 32}; }

QRect ButtonSheet::PanelLabelRect(int item)
{
    static constexpr std::array<QPoint, 8> corners{{{110, 141}, {0, 173}, {110, 173}, {0, 205},
                                                     {110, 205}, {110, 269}, {110, 237}, {0, 269}}};
    return {corners[item], QSize(110, 32)};
}

QImage ButtonSheet::Build(Labels labels)
{
    const SheetWords& words = labels == Labels::Japanese ? JapaneseWords : EnglishWords;
    QImage sheet(Width, Height, QImage::Format_RGB32);
    sheet.fill(Key);
    PaintCursor(sheet, CursorRect().topLeft());
    for (int digit = 0; digit < 10; ++digit)
        KeyedStamp::OverMatte(sheet, OutlinedTextLayer(QString::number(digit), {12, 22}, 19),
                              DigitRect(digit).topLeft(), Backdrop, Key, SoftMinAlpha);
    KeyedStamp::OverMatte(sheet, CaptionLayer(words.caption, labels, {44, 22}), CaptionRect().topLeft(),
                          Backdrop, Key, SoftMinAlpha);
    if (!words.unit.isEmpty())
        KeyedStamp::OverMatte(sheet, CaptionLayer(words.unit, labels, {22, 22}), UnitRect().topLeft(), Backdrop,
                              Key, SoftMinAlpha);
    for (int mode = 0; mode < 3; ++mode)
        KeyedStamp::OverMatte(sheet, FaceLayer(mode), FaceRect(mode).topLeft(), Backdrop, Key,
                              SoftMinAlpha);
    const QImage labelGround = OpaqueOverBackdrop(FaceLayer(0));
    for (int button = 1; button <= 3; ++button)
        KeyedStamp::OverMatte(sheet, BarLabelLayer(button, words, labels), BarLabelRect(button).topLeft(),
                              labelGround, Key, LabelMinAlpha);
    for (int item = 0; item < 8; ++item)
        KeyedStamp::OverMatte(sheet, LabelLayer(words.panel[item], labels), PanelLabelRect(item).topLeft(),
                              labelGround, Key, LabelMinAlpha);
    for (bool on : {true, false})
        KeyedStamp::OverMatte(sheet, IndicatorLayer(on), IndicatorRect(on).topLeft(), Backdrop, Key,
                              SoftMinAlpha);
    return sheet;
}
