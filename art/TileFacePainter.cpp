#include "TileFacePainter.h"

#include "ArtFonts.h"
#include "KeyedStamp.h"
#include "TileSheet.h"

#include <QPainter>
#include <QPainterPath>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

// The inked part of a face is centred where the tile's visible face is: its last
// column and row are covered by the right and lower neighbours.
constexpr QPointF Centre{18.0, 25.0};

const QColor Ink{0x1A, 0x1C, 0x3C};
const QColor Red{0xC6, 0x22, 0x2A};
const QColor Green{0x1C, 0x86, 0x3A};
const QColor DarkGreen{0x0E, 0x55, 0x22};
const QColor Blue{0x1E, 0x4F, 0xA0};

void FillText(QPainter& p, const QString& text, const QFont& font, QPointF centre, QColor colour)
{
    p.fillPath(ArtFonts::CenteredText(text, font, centre), colour);
}

// ---- characters -------------------------------------------------------------

void PaintCharacter(QPainter& p, int rank)
{
    static const std::array<QString, 9> numerals{"一", "二", "三", "四", "伍", "六", "七", "八", "九"};
    FillText(p, numerals[rank], ArtFonts::Mincho(17), {18.0, 13.5}, Ink);
    FillText(p, QStringLiteral("萬"), ArtFonts::Mincho(22), {18.0, 35.5}, Red);
}

// ---- bamboo -----------------------------------------------------------------

struct Stick {
    QPointF centre;
    qreal length;
    QColor colour = Green;
    qreal angle = 0;
};

void PaintStick(QPainter& p, const Stick& stick, qreal width)
{
    p.save();
    p.translate(stick.centre);
    p.rotate(stick.angle);
    const qreal half = stick.length / 2;
    const QRectF body(-width / 2, -half, width, stick.length);
    p.setPen(QPen(stick.colour.darker(170), 0.8));
    p.setBrush(stick.colour);
    p.drawRoundedRect(body, width / 2.5, width / 2.5);
    p.setPen(QPen(stick.colour.lighter(150), 0.9));
    p.drawLine(QPointF(-width / 2 + 1.2, -half + 2), QPointF(-width / 2 + 1.2, half - 2));
    p.setPen(QPen(stick.colour.darker(190), 1.0));
    for (qreal y : {-half + 1.5, qreal(0), half - 1.5})
        p.drawLine(QPointF(-width / 2 - 0.4, y), QPointF(width / 2 + 0.4, y));
    p.restore();
}

void PaintBird(QPainter& p)
{
    p.setPen(QPen(DarkGreen, 0.9));
    // tail feathers fanning down to the left
    const std::array<QColor, 3> tail{Red, Blue, Green};
    for (int i = 0; i < 3; ++i) {
        QPainterPath feather;
        feather.moveTo(16, 32);
        feather.quadTo(8 - 2 * i, 34 + 3 * i, 5 + 3 * i, 45);
        feather.quadTo(11 + i, 38 + 2 * i, 19, 34);
        p.setBrush(tail[i]);
        p.drawPath(feather);
    }
    p.setBrush(Green);
    p.drawEllipse(QRectF(11, 17, 15, 19));  // body
    p.setBrush(DarkGreen);
    QPainterPath wing;
    wing.moveTo(14, 22);
    wing.quadTo(24, 22, 22, 33);
    wing.quadTo(15, 30, 14, 22);
    p.drawPath(wing);
    p.setBrush(Green);
    p.drawEllipse(QRectF(18, 7, 10, 10));  // head
    p.setBrush(QColor(0xE8, 0x9A, 0x10));
    p.drawPolygon(QPolygonF({QPointF(27.5, 11), QPointF(33, 13), QPointF(27.5, 14.5)}));  // beak
    p.setBrush(Red);
    p.drawPolygon(QPolygonF({QPointF(20, 8), QPointF(19, 3), QPointF(23, 7.2), QPointF(25, 3.5),
                             QPointF(25.5, 8)}));  // crest
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawEllipse(QPointF(24.5, 11), 1.1, 1.1);  // eye
    p.setPen(QPen(QColor(0xE8, 0x9A, 0x10), 1.2));
    p.drawLine(QPointF(17, 36), QPointF(16, 41));
    p.drawLine(QPointF(21, 36), QPointF(22, 41));
}

// The sticks of bamboo two to nine (rank 1-8) in their usual arrangements.
std::vector<Stick> BambooSticks(int rank)
{
    const auto row = [](std::initializer_list<qreal> xs, qreal y, qreal length) {
        std::vector<Stick> sticks;
        for (qreal x : xs)
            sticks.push_back({{x, y}, length});
        return sticks;
    };
    const auto join = [](std::vector<Stick> a, const std::vector<Stick>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    switch (rank) {
    case 1: return join(row({18}, 14, 19.5), row({18}, 36, 19.5));
    case 2: return join(row({18}, 14, 19.5), row({11, 25}, 36, 19.5));
    case 3: return join(row({11, 25}, 14, 19.5), row({11, 25}, 36, 19.5));
    case 4: {
        auto sticks = join(row({9, 27}, 14, 19.5), row({9, 27}, 36, 19.5));
        sticks.push_back({{18, 25}, 19.5, Red});
        return sticks;
    }
    case 5: return join(row({9, 18, 27}, 14, 19.5), row({9, 18, 27}, 36, 19.5));
    case 6: {
        std::vector<Stick> sticks{{{18, 9}, 12, Red}};
        return join(sticks, join(row({9, 18, 27}, 24.5, 13), row({9, 18, 27}, 40, 13)));
    }
    case 7: {
        std::vector<Stick> sticks;
        for (qreal y : {14.0, 36.0}) {
            const qreal tilt = y < 25 ? 18 : -18;
            sticks.push_back({{6.5, y}, 18});
            sticks.push_back({{14, y}, 18, Green, tilt});
            sticks.push_back({{22, y}, 18, Green, -tilt});
            sticks.push_back({{29.5, y}, 18});
        }
        return sticks;
    }
    default: {
        auto sticks = join(row({9, 27}, 10, 13), join(row({9, 27}, 25, 13), row({9, 27}, 40, 13)));
        for (qreal y : {10.0, 25.0, 40.0})
            sticks.push_back({{18, y}, 13, Red});
        return sticks;
    }
    }
}

void PaintBamboo(QPainter& p, int rank)
{
    if (rank == 0) {
        PaintBird(p);
        return;
    }
    const qreal width = rank == 7 ? 4.2 : 5.2;
    for (const Stick& stick : BambooSticks(rank))
        PaintStick(p, stick, width);
}

// ---- circles ----------------------------------------------------------------

struct Dot {
    QPointF centre;
    QColor colour;
};

void PaintDot(QPainter& p, const Dot& dot, qreal radius)
{
    p.setPen(QPen(dot.colour.darker(150), 0.8));
    p.setBrush(dot.colour);
    p.drawEllipse(dot.centre, radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);  // the tile's ground: takes the frame colour in the game
    p.drawEllipse(dot.centre, radius * 0.64, radius * 0.64);
    p.setBrush(dot.colour);
    p.drawEllipse(dot.centre, radius * 0.36, radius * 0.36);
}

void PaintBigCircle(QPainter& p)
{
    PaintDot(p, {Centre, Blue}, 13.5);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 12; ++i) {
        const double angle = i * std::numbers::pi / 6;
        p.setBrush(i % 2 ? Green : Red);
        p.drawEllipse(Centre + QPointF(6.6 * std::cos(angle), 6.6 * std::sin(angle)), 1.4, 1.4);
    }
    p.setBrush(Red);
    p.setPen(QPen(Red.darker(150), 0.8));
    p.drawEllipse(Centre, 3.6, 3.6);
}

// The dots of circles two to nine (rank 1-8) in their usual arrangements and colours.
std::vector<Dot> CircleDots(int rank)
{
    switch (rank) {
    case 1: return {{{18, 14}, Green}, {{18, 36}, Blue}};
    case 2: return {{{9.5, 11.5}, Blue}, {{18, 25}, Red}, {{26.5, 38.5}, Green}};
    case 3: return {{{10.5, 14}, Blue}, {{25.5, 14}, Green}, {{10.5, 36}, Green}, {{25.5, 36}, Blue}};
    case 4:
        return {{{9.5, 12}, Blue}, {{26.5, 12}, Green}, {{18, 25}, Red}, {{9.5, 38}, Green},
                {{26.5, 38}, Blue}};
    case 5:
        return {{{10.5, 10}, Green}, {{25.5, 10}, Green}, {{10.5, 27}, Red},
                {{25.5, 27}, Red},   {{10.5, 41}, Red},   {{25.5, 41}, Red}};
    case 6:
        return {{{8.5, 8}, Green},  {{18, 13}, Green},  {{27.5, 18}, Green}, {{11.5, 31}, Red},
                {{24.5, 31}, Red},  {{11.5, 42}, Red},  {{24.5, 42}, Red}};
    case 7: {
        std::vector<Dot> dots;
        for (qreal y : {9.0, 20.0, 31.0, 42.0})
            for (qreal x : {11.5, 24.5})
                dots.push_back({{x, y}, Blue});
        return dots;
    }
    default: {
        std::vector<Dot> dots;
        const std::array<QColor, 3> rows{Blue, Red, Green};
        for (int r = 0; r < 3; ++r)
            for (qreal x : {8.5, 18.0, 27.5})
                dots.push_back({{x, 11.0 + 14 * r}, rows[r]});
        return dots;
    }
    }
}

qreal CircleRadius(int rank)
{
    static constexpr std::array<qreal, 9> radii{13.5, 8.5, 7.0, 7.2, 6.5, 6.0, 5.2, 5.4, 5.0};
    return radii[rank];
}

void PaintCircles(QPainter& p, int rank)
{
    if (rank == 0) {
        PaintBigCircle(p);
        return;
    }
    for (const Dot& dot : CircleDots(rank))
        PaintDot(p, dot, CircleRadius(rank));
}

// ---- honours and extra faces -----------------------------------------------

void PaintWhiteDragon(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Blue, 2.6));
    p.drawRoundedRect(QRectF(7, 8, 22, 34), 2, 2);
    p.setPen(QPen(Blue, 1.0));
    p.drawRect(QRectF(10.5, 11.5, 15, 27));
}

void PaintBlankEmblem(QPainter& p)
{
    const QColor amber(0xB0, 0x74, 0x10);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(amber, 2.4));
    p.drawRect(QRectF(8, 13, 20, 24));
    p.setPen(QPen(amber.darker(130), 1.0));
    p.setBrush(amber);
    p.drawPolygon(QPolygonF({QPointF(18, 19), QPointF(23, 25), QPointF(18, 31), QPointF(13, 25)}));
}

void PaintBigGlyph(QPainter& p, const QString& text, QColor colour, qreal size = 27)
{
    FillText(p, text, ArtFonts::Mincho(size), Centre, colour);
}

// A name of two characters: the first one large, the second small beneath it.
void PaintNamedGlyph(QPainter& p, const QString& big, const QString& small, QColor colour)
{
    FillText(p, big, ArtFonts::Mincho(23), {18, 19}, colour);
    FillText(p, small, ArtFonts::Gothic(11), {18, 40.5}, colour.darker(140));
}

// Both characters of the name at a readable size, one above the other.
void PaintStackedName(QPainter& p, const QString& upper, const QString& lower, QColor colour)
{
    FillText(p, upper, ArtFonts::Mincho(17), {18, 13.5}, colour);
    FillText(p, lower, ArtFonts::Mincho(20), {18, 35}, colour);
}

// ---- seasons and flowers ----------------------------------------------------

void PaintPetals(QPainter& p, QPointF centre, int count, qreal distance, qreal radius, QColor colour,
                 QColor heart)
{
    p.setPen(QPen(colour.darker(150), 0.7));
    p.setBrush(colour);
    for (int i = 0; i < count; ++i) {
        const double angle = -std::numbers::pi / 2 + i * 2 * std::numbers::pi / count;
        p.drawEllipse(centre + QPointF(distance * std::cos(angle), distance * std::sin(angle)), radius,
                      radius);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(heart);
    p.drawEllipse(centre, radius * 0.7, radius * 0.7);
}

void PaintSun(QPainter& p, QPointF c, QColor colour)
{
    p.setPen(QPen(colour, 1.3, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        const double a = i * std::numbers::pi / 4;
        p.drawLine(c + QPointF(5.5 * std::cos(a), 5.5 * std::sin(a)),
                   c + QPointF(7.5 * std::cos(a), 7.5 * std::sin(a)));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF2, 0xA0, 0x10));
    p.drawEllipse(c, 4.2, 4.2);
}

void PaintLeaf(QPainter& p, QPointF c, QColor colour)
{
    QPainterPath leaf;
    for (int i = 0; i < 5; ++i) {
        const double a = -std::numbers::pi / 2 + (i - 2) * 0.62;
        const QPointF tip = c + QPointF(7.5 * std::cos(a), 7.5 * std::sin(a));
        const double between = a + 0.31;
        const QPointF notch = c + QPointF(3.4 * std::cos(between), 3.4 * std::sin(between));
        if (i == 0)
            leaf.moveTo(c + QPointF(3.4 * std::cos(a - 0.31), 3.4 * std::sin(a - 0.31)));
        leaf.lineTo(tip);
        leaf.lineTo(notch);
    }
    leaf.lineTo(c + QPointF(0, 3));
    leaf.closeSubpath();
    p.setPen(QPen(colour.darker(150), 0.7));
    p.setBrush(colour);
    p.drawPath(leaf);
    p.setPen(QPen(colour.darker(170), 1.0));
    p.drawLine(c + QPointF(0, 2), c + QPointF(0, 7));
}

void PaintSnowflake(QPainter& p, QPointF c, QColor colour)
{
    p.setPen(QPen(colour, 1.2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 6; ++i) {
        const double a = i * std::numbers::pi / 3;
        const QPointF dir(std::cos(a), std::sin(a));
        p.drawLine(c, c + 7 * dir);
        const QPointF branch = c + 4.2 * dir;
        for (double side : {-0.7, 0.7}) {
            const QPointF twig(std::cos(a + side), std::sin(a + side));
            p.drawLine(branch, branch + 2.4 * twig);
        }
    }
}

void PaintBambooLeaves(QPainter& p, QPointF c, QColor colour)
{
    p.setPen(QPen(colour.darker(150), 0.7));
    p.setBrush(colour);
    for (double angle : {-60.0, -15.0, 30.0}) {
        p.save();
        p.translate(c + QPointF(0, 3));
        p.rotate(angle);
        QPainterPath leaf;
        leaf.moveTo(0, 0);
        leaf.quadTo(2.6, -4.5, 0, -9.5);
        leaf.quadTo(-2.6, -4.5, 0, 0);
        p.drawPath(leaf);
        p.restore();
    }
    p.setPen(QPen(QColor(0x8A, 0x6A, 0x2A), 1.4));
    p.drawLine(c + QPointF(-5, 7.5), c + QPointF(1, 3));
}

void PaintOrchid(QPainter& p, QPointF c, QColor colour)
{
    p.setPen(QPen(colour.darker(150), 0.7));
    p.setBrush(colour.lighter(125));
    for (double angle : {0.0, 72.0, 144.0, 216.0, 288.0}) {
        p.save();
        p.translate(c);
        p.rotate(angle);
        p.drawEllipse(QRectF(-2.2, -8, 4.4, 7));
        p.restore();
    }
    p.setBrush(QColor(0xF0, 0xC0, 0x20));
    p.drawEllipse(c, 1.8, 1.8);
}

struct BonusFace {
    QString character;
    QColor colour;
    void (*emblem)(QPainter&, QPointF, QColor);
};

void PaintPlum(QPainter& p, QPointF c, QColor colour)
{
    PaintPetals(p, c, 5, 4.0, 3.2, colour, QColor(0xF0, 0xC0, 0x20));
}

void PaintBlossom(QPainter& p, QPointF c, QColor)
{
    PaintPetals(p, c, 5, 4.0, 3.0, QColor(0xF2, 0x7F, 0xA8), QColor(0xE8, 0xB0, 0x10));
}

void PaintChrysanthemum(QPainter& p, QPointF c, QColor colour)
{
    PaintPetals(p, c, 12, 5.0, 2.2, colour, QColor(0xB0, 0x50, 0x10));
}

void PaintBonus(QPainter& p, const BonusFace& face, int number)
{
    face.emblem(p, {18, 13}, face.colour);
    FillText(p, face.character, ArtFonts::Mincho(20), {18, 35}, face.colour.darker(115));
    FillText(p, QString::number(number), ArtFonts::Gothic(9, true), {6.5, 7}, Ink);
}

const std::array<BonusFace, 8>& BonusFaces()
{
    static const std::array<BonusFace, 8> faces{{
        {"春", QColor(0x2E, 0x9E, 0x44), PaintBlossom},
        {"夏", QColor(0xD4, 0x3C, 0x1E), PaintSun},
        {"秋", QColor(0xC8, 0x6A, 0x14), PaintLeaf},
        {"冬", QColor(0x2A, 0x62, 0xC9), PaintSnowflake},
        {"梅", QColor(0xC2, 0x18, 0x5B), PaintPlum},
        {"蘭", QColor(0x7B, 0x3F, 0xB5), PaintOrchid},
        {"竹", QColor(0x2F, 0x7D, 0x32), PaintBambooLeaves},
        {"菊", QColor(0xD0, 0x8A, 0x00), PaintChrysanthemum},
    }};
    return faces;
}

void PaintHonour(QPainter& p, int face)
{
    switch (face) {
    case 30: PaintBigGlyph(p, "東", Ink); break;
    case 31: PaintBigGlyph(p, "南", Ink); break;
    case 32: PaintBigGlyph(p, "西", Ink); break;
    case 33: PaintBigGlyph(p, "北", Ink); break;
    case 34: PaintWhiteDragon(p); break;
    case 35: PaintBigGlyph(p, "発", Green); break;
    case 36: PaintBigGlyph(p, "中", Red); break;
    case 37: PaintBlankEmblem(p); break;
    case 38: PaintBigGlyph(p, "鳳", QColor(0xD2, 0x46, 0x1E), 26); break;
    case 39: PaintBigGlyph(p, "龍", QColor(0x0F, 0x6E, 0x6E), 26); break;
    case 48: PaintStackedName(p, "百", "塔", QColor(0x6D, 0x4C, 0x2F)); break;
    case 50: PaintNamedGlyph(p, "天", "牌", QColor(0x15, 0x65, 0xC0)); break;
    case 51: PaintNamedGlyph(p, "女", "牌", QColor(0xAD, 0x14, 0x57)); break;
    case 52: PaintNamedGlyph(p, "散", "牌", QColor(0x00, 0x89, 0x7B)); break;
    case 53: PaintNamedGlyph(p, "華", "牌", QColor(0xEF, 0x6C, 0x00)); break;
    default: PaintBonus(p, BonusFaces()[face - 40], (face - 40) % 4 + 1); break;
    }
}

} // namespace

bool TileFacePainter::IsBlank(int face)
{
    return face < 0 || face > 53 || (face % 10 == 9 && face != 39);
}

QImage TileFacePainter::Paint(int face, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (IsBlank(face))
        return image;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (size != QSize(Width, Height))
        p.scale(double(size.width()) / Width, double(size.height()) / Height);
    const int rank = face % 10;
    if (face < 10)
        PaintCharacter(p, rank);
    else if (face < 20)
        PaintBamboo(p, rank);
    else if (face < 30)
        PaintCircles(p, rank);
    else
        PaintHonour(p, face);
    p.end();
    KeyedStamp::AvoidKey(image, TileSheet::Key);
    return image;
}
