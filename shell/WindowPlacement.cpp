#include "WindowPlacement.h"

#include <QGuiApplication>

QSize WindowPlacement::FittedClient(QSize wanted, QSize minimum, QSize frameThickness, const QRect& available)
{
    return wanted.boundedTo(available.size() - frameThickness).expandedTo(minimum);
}

bool WindowPlacement::CentreOnAScreen(QPoint topLeft, QSize frameSize)
{
    return QGuiApplication::screenAt(topLeft + QPoint(frameSize.width() / 2, frameSize.height() / 2)) != nullptr;
}
