#pragma once

#include "StatusFigures.h"

#include <QCoreApplication>
#include <QRect>
#include <QStringList>

class QPainter;

// Draws the side bar's status (play time and takeable sets) and the pause
// notice, in the side bar's style, onto any surface at any scale: positions
// are the picture's own pixels times scale.
class StatusPainter {
    Q_DECLARE_TR_FUNCTIONS(StatusPainter)

public:
    // Just above the buttons; a caption that reaches it is cut there.
    static constexpr QRect kArea{660, 306, 132, 42};
    static constexpr int kLinePitch = 16;

    static QStringList Lines(const StatusFigures& figures);
    static QString PausedText();
    static void PaintStatus(QPainter& painter, double scale, const StatusFigures& figures);
    // The notice in the middle of board (the board's rectangle on the picture).
    static void PaintPaused(QPainter& painter, double scale, const QRect& board);
};
