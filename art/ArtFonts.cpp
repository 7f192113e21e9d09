#include "ArtFonts.h"

#include <QFontInfo>
#include <stdexcept>

namespace {

QFont RequireFamily(const QString& family, qreal pixelSize)
{
    QFont font(family);
    font.setPixelSize(qRound(pixelSize));
    font.setStyleStrategy(QFont::PreferAntialias);
    if (QFontInfo(font).family() != family)
        throw std::runtime_error("font " + family.toStdString()
                                 + " is not installed (Debian packages fonts-ipafont-*, fonts-dejavu-core)");
    return font;
}

} // namespace

QFont ArtFonts::Mincho(qreal pixelSize)
{
    return RequireFamily(QStringLiteral("IPAMincho"), pixelSize);
}

QFont ArtFonts::Gothic(qreal pixelSize, bool bold)
{
    QFont font = RequireFamily(QStringLiteral("IPAGothic"), pixelSize);
    font.setBold(bold);
    return font;
}

QFont ArtFonts::CondensedSans(qreal pixelSize)
{
    QFont font = RequireFamily(QStringLiteral("DejaVu Sans"), pixelSize);
    font.setBold(true);
    font.setStretch(QFont::SemiCondensed);
    return font;
}

QPainterPath ArtFonts::CenteredText(const QString& text, const QFont& font, QPointF centre)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path.translated(centre - path.boundingRect().center());
}
