#pragma once

#include <QFont>
#include <QPainterPath>
#include <QPointF>
#include <QString>

// The fonts the art is drawn with: the Japanese ones from Debian's
// fonts-ipafont packages and a Latin one for the English labels. Without them
// the characters would come out as empty boxes or in another face, so asking
// for a missing one is an error.
class ArtFonts {
public:
    static QFont Mincho(qreal pixelSize);
    static QFont Gothic(qreal pixelSize, bool bold = false);
    // A compact bold Latin face for the English labels (Debian's fonts-dejavu-core).
    static QFont CondensedSans(qreal pixelSize);

    // The outline of text, moved so that the middle of its inked part lies on centre.
    static QPainterPath CenteredText(const QString& text, const QFont& font, QPointF centre);
};
