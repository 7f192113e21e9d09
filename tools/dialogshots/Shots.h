#pragma once

#include <QRect>
#include <QString>

// Lets the screen settle, then saves a grab of the area of the screen.
bool GrabArea(const QRect& area, const QString& path);

// Plays games into the end-of-game notices and saves a grab of each, over the
// game window: dead-end, lost-move and win, each name followed by suffix.
bool GrabNotices(const QString& outFolder, const QString& suffix);
