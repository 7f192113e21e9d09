#pragma once

#include <QString>

#include <array>

// The chosen game as it travels between the shell and the game-selection
// dialog: layout file name (relative to the layout folder), problem number
// ("0" for a random deal), face-down setting, caption.
using QuestionInfo = std::array<QString, 4>;
