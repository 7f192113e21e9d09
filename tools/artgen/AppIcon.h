#pragma once

#include <QImage>

// The program's icon: a tile standing on another, the upper one showing a
// face of circles, on a transparent ground. Drawn without a font at any size.
namespace AppIcon {

constexpr int kSizes[] = {48, 128, 256};

QImage Build(int size);

} // namespace AppIcon
