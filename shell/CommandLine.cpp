#include "CommandLine.h"

#include "QuotedText.h"

#include <cstring>

namespace {

const QString kLayout = QStringLiteral("--layout");
const QString kProblem = QStringLiteral("--problem");
const QString kFaceDown = QStringLiteral("--facedown");
const QString kAnswer = QStringLiteral("--answer");
const QString kLanguage = QStringLiteral("--lang");
const QString kScaling = QStringLiteral("--scaling");
const QString kEdit = QStringLiteral("--edit");

bool IsAnswerSwitch(const QString& text)
{
    const QString lower = text.toLower();
    return lower == QStringLiteral("/answer") || lower == kAnswer;
}

// "--name=value" and "--name value" both give (name, value).
struct Option {
    QString name;
    std::optional<QString> value;
};

Option SplitOption(const QString& argument)
{
    const qsizetype equals = argument.indexOf(u'=');
    if (equals < 0)
        return {argument.toLower(), std::nullopt};
    return {argument.left(equals).toLower(), argument.mid(equals + 1)};
}

} // namespace

CommandLine::CommandLine(const QStringList& allArguments)
{
    const QStringList arguments = TakeChoice(
        TakeChoice(allArguments, kLanguage, {QStringLiteral("ja"), QStringLiteral("en")}, language_), kScaling,
        {QStringLiteral("pixel"), QStringLiteral("sharp")}, scaling_);
    if (!arguments.isEmpty() && arguments[0].toLower() == kEdit) {
        if (arguments.size() > 2)
            throw CommandLineError("--edit takes one layout file");
        editPath_ = arguments.value(1);
    } else if (IsAnswerSwitch(arguments.join(u' ')))
        answerMode_ = true;
    else if (NamesGame(arguments))
        ParseGame(arguments);
}

// Takes "--NAME VALUE" (or "--NAME=VALUE") out of the arguments and keeps
// its value, which must be one of allowed.
QStringList CommandLine::TakeChoice(const QStringList& arguments, const QString& name, const QStringList& allowed,
                                    std::optional<QString>& choice)
{
    QStringList rest;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        Option option = SplitOption(arguments[i]);
        if (option.name != name) {
            rest.append(arguments[i]);
            continue;
        }
        if (!option.value && i + 1 < arguments.size())
            option.value = arguments[++i];
        const QString value = option.value.value_or(QString()).toLower();
        if (!allowed.contains(value))
            throw CommandLineError(name.toStdString() + " needs " + allowed.join(QStringLiteral(" or ")).toStdString());
        choice = value;
    }
    return rest;
}

QString CommandLine::Usage()
{
    return QStringLiteral("usage: tovrik [--lang ja|en] [--scaling pixel|sharp] [/answer] | tovrik [--lang ja|en] "
                          "[--scaling pixel|sharp] --layout NAME --problem N [--facedown M] [--answer]\n"
                          "       tovrik [--lang ja|en] --edit [FILE.tvm] | tovrik --smoke-test | tovrik --help\n"
                          "  ja|en the language, instead of the system's\n"
                          "  pixel|sharp  larger windows show the picture in whole-number blocks, or drawn\n"
                          "        sharp at their size with the board filling the window (the default)\n"
                          "  NAME  a layout file in the template folder, e.g. classic.tvm\n"
                          "  N     problem number 1 to %1, or 0 for a random deal\n"
                          "  M     face-down tiles: 0 none, 1 all until selected, 2 to %2 that many until free\n"
                          "  FILE  the layout to edit, made anew when it is not there; saved to the same path")
        .arg(kHighestProblem)
        .arg(kMostFaceDown);
}

bool CommandLine::AsksForHelp(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return true;
    }
    return false;
}

bool CommandLine::NamesGame(const QStringList& arguments)
{
    for (const QString& argument : arguments) {
        const QString name = SplitOption(argument).name;
        if (name == kLayout || name == kProblem || name == kFaceDown)
            return true;
    }
    return false;
}

void CommandLine::ParseGame(const QStringList& arguments)
{
    GameChoice game;
    bool hasLayout = false;
    bool hasProblem = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        Option option = SplitOption(arguments[i]);
        if (option.name == kAnswer && !option.value) {
            answerMode_ = true;
            continue;
        }
        if (option.name != kLayout && option.name != kProblem && option.name != kFaceDown)
            throw CommandLineError("unknown argument " + QuotedText(arguments[i].toStdString()));
        if (!option.value) {
            if (++i == arguments.size())
                throw CommandLineError(option.name.toStdString() + " needs a value");
            option.value = arguments[i];
        }
        if (option.name == kLayout) {
            game.layoutName = *option.value;
            hasLayout = !game.layoutName.isEmpty();
        } else if (option.name == kProblem) {
            game.problem = Number(option.name, *option.value, 0, kHighestProblem);
            hasProblem = true;
        } else {
            game.faceDown = Number(option.name, *option.value, 0, kMostFaceDown);
        }
    }
    if (!hasLayout)
        throw CommandLineError("--layout needs the name of a layout file");
    if (!hasProblem)
        throw CommandLineError("--problem needs a problem number");
    game_ = game;
}

int32_t CommandLine::Number(const QString& option, const QString& text, int32_t lowest, int32_t highest)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok || value < lowest || value > highest)
        throw CommandLineError(option.toStdString() + " needs a whole number from " + std::to_string(lowest) +
                               " to " + std::to_string(highest) + ", not " + QuotedText(text.toStdString()));
    return value;
}
