#pragma once

#include "PaiStructure.h"

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

constexpr int kWidth = PaiStructure::kBoardWidth;
constexpr int kHeight = PaiStructure::kBoardHeight;

std::vector<Wallpaper> Build();

} // namespace Wallpapers
