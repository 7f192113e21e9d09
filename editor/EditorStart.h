#pragma once

#include "LayoutEditor.h"

#include <QString>

#include <functional>

class GameFolders;
class QWidget;

// Where the editor reads shipped layouts and puts the player's own.
LayoutEditor::Folders EditorFolders(const GameFolders& folders);

// Opens an editor for path (a new layout when empty); saved hears of each
// save. The window deletes itself when closed; with an owner it is modal over
// it. A layout that cannot be read is told through the message box and gives
// nullptr.
LayoutEditor* OpenLayoutEditor(const LayoutEditor::Folders& folders, const QString& path, QWidget* owner,
                               std::function<void(const QString& fileName)> saved);

// tovrik --edit [FILE]: the editor alone, until its window closes. Returns the exit status.
int RunLayoutEditor(const QString& programFolder, const QString& path);
