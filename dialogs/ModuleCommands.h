#pragma once

#include "QuestionInfo.h"

#include <QString>

#include <functional>

// What the side panel and the game-selection dialog may ask of the shell. They
// never talk to the game controller themselves; the shell's module carries the
// commands out on it and redraws.
class ModuleCommands {
public:
    enum PanelCode : int {
        PANEL_NEWGAME = 0,
        PANEL_RESTART = 1,
        PANEL_SAVE = 2,
        PANEL_LOAD = 3,
        PANEL_AUTOHINT_ON = 41,
        PANEL_AUTOHINT_OFF = 42,
        PANEL_SOUND_ON = 51,
        PANEL_SOUND_OFF = 52,
    };

    virtual ~ModuleCommands() = default;

    virtual void StoreQuestionInfo(const QuestionInfo& info) = 0;
    virtual void StartGame() = 0;
    virtual bool PanelCommand(int code) = 0;
    virtual void ChooseWallpaper() = 0;
    // Opens the layout editor on the layout named layoutName, or on a new
    // layout when it is empty; saved hears the file name of every save.
    virtual void EditLayout(const QString& layoutName, std::function<void(const QString& fileName)> saved) = 0;
};
