#pragma once

#include "FileConv.h"
#include "ProblemNumber.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <stdexcept>

// A command line that names a game or a switch the program does not know.
class CommandLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The game named on the command line, started at once instead of asking.
struct GameChoice {
    QString layoutName;
    int32_t problem = 0;   // 0: a random deal
    int32_t faceDown = 0;  // 0 none, 1 all, otherwise that many tiles
};

// What the arguments (without the program name) ask for: the language
// (--lang ja|en, anywhere), answer-making mode, switched on by "/answer" (or
// "--answer") as the whole text of the other arguments, and optionally a game:
// --layout NAME --problem N [--facedown M] [--answer].
// Text that names no game and is not the switch is ignored.
class CommandLine {
public:
    static constexpr int32_t kHighestProblem = ::kHighestProblem;
    static constexpr int32_t kMostFaceDown = FileConv::kMaxPositions;

    // Raises CommandLineError when the game options are incomplete or wrong.
    explicit CommandLine(const QStringList& arguments);

    bool AnswerMode() const { return answerMode_; }
    const std::optional<GameChoice>& Game() const { return game_; }
    // "ja" or "en" when the command line chooses the language.
    const std::optional<QString>& Language() const { return language_; }
    // "pixel" or "sharp" when the command line chooses how larger windows are drawn.
    const std::optional<QString>& Scaling() const { return scaling_; }
    // "--edit [FILE]": the layout editor instead of the game; an empty path for a new layout.
    const std::optional<QString>& EditPath() const { return editPath_; }

    static QString Usage();
    // "--help" or "-h" among the raw arguments: print the usage, start nothing.
    static bool AsksForHelp(int argc, char* argv[]);

private:
    static QStringList TakeChoice(const QStringList& arguments, const QString& name, const QStringList& allowed,
                                  std::optional<QString>& choice);
    static bool NamesGame(const QStringList& arguments);
    void ParseGame(const QStringList& arguments);
    static int32_t Number(const QString& option, const QString& text, int32_t lowest, int32_t highest);

    bool answerMode_ = false;
    std::optional<GameChoice> game_;
    std::optional<QString> language_;
    std::optional<QString> scaling_;
    std::optional<QString> editPath_;
};
