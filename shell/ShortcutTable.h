#pragma once

#include "HelpWindow.h"

#include <Qt>
#include <QString>

#include <optional>
#include <vector>

// The keyboard shortcuts of the game window. A key pressed with Ctrl is a
// shortcut or nothing, so Ctrl (and Shift with it) never counts as a held
// key of its own.
class ShortcutTable {
public:
    enum class Command { NewGame, TakeBack, Redo, Restart, Save, Load, Pause, Help, Shuffle, Quit };

    using Row = HelpWindow::KeyRow;

    // The command of the key with these modifiers, if it has one.
    static std::optional<Command> Find(int qtKey, Qt::KeyboardModifiers modifiers);
    // Ctrl, Shift, Alt and the like alone.
    static bool IsModifier(int qtKey);
    // Every key of the game with what it does, the design's keys first.
    static std::vector<Row> KeyTable();
};
