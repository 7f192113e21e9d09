#pragma once

#include <QImage>
#include <QString>

class GameFolders;
class PaiCtrl;
class QWidget;
class Settings;

// The board's wallpaper: plain green, the picture chosen in an earlier run,
// or one the player picks. Bitmaps are tiled over the board, other pictures
// centred on it. The caller redraws.
class Wallpaper {
public:
    Wallpaper(PaiCtrl& controller, Settings& settings, const GameFolders& folders);

    void ShowPlain();
    // The picture of the last run; one that is gone or cannot be read leaves
    // the plain board.
    void ApplyRemembered();
    // Lets the player pick a picture over parent. False when the picture could
    // not be read (the player is told why, and nothing changed on the board).
    bool Choose(QWidget* parent);

private:
    void Apply(const QString& path);
    QString DialogFolder() const;

    PaiCtrl& controller;
    Settings& settings;
    const GameFolders& folders;
    QImage picWall;
};
