#pragma once

#include <QFont>
#include <QPainterPath>
#include <QPointF>
#include <QString>

// The Japanese fonts the art is drawn with. Both come from Debian's
// fonts-ipafont packages; without them the characters would come out as
// empty boxes, so asking for a missing one is an error.
class ArtFonts {
public:
    static QFont Mincho(qreal pixelSize);
    static QFont Gothic(qreal pixelSize, bool bold = false);

    // The outline of text, moved so that the middle of its inked part lies on centre.
    static QPainterPath CenteredText(const QString& text, const QFont& font, QPointF centre);
};
