#include "CommandLine.h"

#include "QuotedText.h"

namespace {

const QString kLayout = QStringLiteral("--layout");
const QString kProblem = QStringLiteral("--problem");
const QString kFaceDown = QStringLiteral("--facedown");
const QString kAnswer = QStringLiteral("--answer");
const QString kLanguage = QStringLiteral("--lang");

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
    const QStringList arguments = TakeLanguage(allArguments);
    if (IsAnswerSwitch(arguments.join(u' ')))
        answerMode_ = true;
    else if (NamesGame(arguments))
        ParseGame(arguments);
}

// Takes "--lang CODE" (or "--lang=CODE") out of the arguments and keeps its code.
QStringList CommandLine::TakeLanguage(const QStringList& arguments)
{
    QStringList rest;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        Option option = SplitOption(arguments[i]);
        if (option.name != kLanguage) {
            rest.append(arguments[i]);
            continue;
        }
        if (!option.value && i + 1 < arguments.size())
            option.value = arguments[++i];
        const QString code = option.value.value_or(QString()).toLower();
        if (code != QStringLiteral("ja") && code != QStringLiteral("en"))
            throw CommandLineError("--lang needs ja or en");
        language_ = code;
    }
    return rest;
}

QString CommandLine::Usage()
{
    return QStringLiteral("usage: tovrik [--lang ja|en] [/answer] | tovrik [--lang ja|en] --layout NAME --problem N "
                          "[--facedown M] [--answer]\n"
                          "  ja|en the language, instead of the system's\n"
                          "  NAME  a layout file in the template folder, e.g. classic.tvm\n"
                          "  N     problem number 1 to %1, or 0 for a random deal\n"
                          "  M     face-down tiles: 0 none, 1 all until selected, 2 to %2 that many until free")
        .arg(kHighestProblem)
        .arg(kMostFaceDown);
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
