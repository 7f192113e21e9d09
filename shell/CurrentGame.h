#pragma once

#include "QuestionInfo.h"

#include <QString>

#include <cstdint>
#include <vector>

class GameFolders;
class PaiCtrl;
class Settings;

// The game being played: the layout, problem number and face-down setting
// chosen, the start of its deal, and whether moves were made since it was
// started, saved or loaded (which the quit question asks about).
class CurrentGame {
public:
    CurrentGame(PaiCtrl& controller, Settings& settings, const GameFolders& folders);

    // Both numbers are read before anything changes: a bad one raises
    // NumberedError and keeps the chosen game whole.
    void Choose(const QuestionInfo& info);
    // Deals the chosen game. When it cannot be dealt the error reaches the
    // caller and the choice goes back to the game still on the board.
    void Start();
    QuestionInfo Question() const;
    // The game in progress, or before the first one the game chosen last time
    // when its layout is still there.
    QuestionInfo Offered() const;
    const QString& LayoutName() const { return QuestionFile; }
    int32_t Problem() const { return QuestionSeed; }
    const QString& Caption() const { return QuestionCaption; }

    // The moves on the board are those of save.dat now.
    void MarkSaved();
    // Moves made since the deal, the save or the load, with tiles still on
    // the board: a cleared board or an untouched deal has nothing to lose.
    bool UnsavedProgress() const;
    // Whether the program may end: with unsaved progress the player is asked.
    bool QuitConfirmed(const QString& title) const;

    // The message of the named layout in folders, as the selection dialog
    // shows it; a missing or unreadable layout raises CommandLineError.
    static QString CheckedLayoutCaption(const GameFolders& folders, const QString& layoutName);

private:
    PaiCtrl& controller;
    Settings& settings;
    const GameFolders& folders;

    QString QuestionFile;
    int32_t QuestionSeed = 0;
    int32_t QuestionReverse = 0;
    QString QuestionCaption;
    QuestionInfo startedQuestion{QString(), QStringLiteral("0"), QStringLiteral("0"), QString()};
    // The moves of the game as it was last started, saved or loaded.
    std::vector<int32_t> savedMoves;
};
