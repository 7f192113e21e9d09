#pragma once

#include "ShortcutTable.h"
#include "StatusFigures.h"

#include <QImage>
#include <QTimer>

#include <functional>
#include <optional>

class EndOfGame;
class FormMain;
class GameScreen;
class PaiCtrl;
class PlayRouter;

// What the game does beyond the button bar: the keyboard shortcuts, redo,
// the shuffle, the pause, the help window and the side bar's status clock.
class PlayKeys {
public:
    // The side panel's own questions, asked the way its buttons ask them.
    struct PanelQuestions {
        std::function<void()> newGame;
        std::function<void()> restart;
        std::function<void()> save;
        std::function<void()> load;
    };

    // tiles is the tile sheet the help window draws its pictures from.
    PlayKeys(PaiCtrl& controller, PlayRouter& play, GameScreen& screen, EndOfGame& ending, FormMain& window,
             const QImage& tiles, PanelQuestions questions);
    PlayKeys(const PlayKeys&) = delete;
    PlayKeys& operator=(const PlayKeys&) = delete;

    void RunShortcut(ShortcutTable::Command command);
    // Deals the faces of the tiles left anew so that the game can be cleared,
    // or tells the player that no such arrangement was found.
    void Shuffle();
    // The tiles are hidden and the clock stands until any key or click.
    bool Paused() const { return paused; }
    void SetPaused(bool on);
    void ShowHelp();
    // Shows the play time and the takeable sets in the side bar, kept up to
    // the second; nothing when shown is false.
    void ShowStatus(bool shown);
    bool StatusShown() const { return statusShown; }
    StatusFigures CurrentStatus() const;

private:
    void StatusTick();

    PaiCtrl& controller;
    PlayRouter& play;
    GameScreen& screen;
    EndOfGame& ending;
    FormMain& window;
    const QImage& tiles;
    PanelQuestions questions;
    QTimer statusClock;
    bool statusShown = false;
    bool paused = false;
};
