#pragma once

#include <QImage>
#include <QString>

#include <vector>

// The wallpapers shipped with the game, each the size of the board and drawn
// from seeded value noise alone (no font, no outside picture).
namespace Wallpapers {

struct Wallpaper {
    QString fileName;  // e.g. "felt.png"
    QImage picture;
};

constexpr int kWidth = 655;
constexpr int kHeight = 557;

std::vector<Wallpaper> Build();

} // namespace Wallpapers
