#include "CurrentGame.h"

#include "CommandLine.h"
#include "FileConv.h"
#include "FormQues.h"
#include "GameFolders.h"
#include "MessageBox.h"
#include "NumberedError.h"
#include "PaiCtrl.h"
#include "QuotedText.h"
#include "Settings.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace {

int32_t WholeNumber(const QString& text, const char* what)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw NumberedError(NumberedError::InvalidArgument,
                            std::string(what) + " " + QuotedText(text.toStdString()) + " is not a whole number");
    return value;
}

// The layout's message as the selection dialog shows it.
QString LayoutCaption(const QString& path)
{
    FileConv layout;
    layout.LoadFile(path.toStdString());
    return FormQues::LayoutMessage(layout, QFileInfo(path).fileName());
}

} // namespace

CurrentGame::CurrentGame(PaiCtrl& controller, Settings& settings, const GameFolders& folders)
    : controller(controller), settings(settings), folders(folders)
{
}

void CurrentGame::Choose(const QuestionInfo& info)
{
    const int32_t seed = WholeNumber(info[1], "problem number");
    const int32_t reverse = WholeNumber(info[2], "face-down setting");
    QuestionFile = info[0];
    QuestionSeed = seed;
    QuestionReverse = reverse;
    QuestionCaption = info[3];
}

void CurrentGame::Start()
{
    try {
        controller.GameInit(folders.LayoutPath(QuestionFile).toStdString(), QuestionSeed, QuestionReverse);
    } catch (...) {
        Choose(startedQuestion);
        throw;
    }
    startedQuestion = Question();
    MarkSaved();
    settings.SetLastGame({QuestionFile, QuestionSeed, QuestionReverse});
}

QuestionInfo CurrentGame::Question() const
{
    return {QuestionFile, QString::number(QuestionSeed), QString::number(QuestionReverse), QuestionCaption};
}

QuestionInfo CurrentGame::Offered() const
{
    const std::optional<Settings::GameChoice> last = settings.LastGame();
    if (!startedQuestion[0].isEmpty() || !last || !folders.LayoutNames().contains(last->layout))
        return Question();
    return {last->layout, QString::number(last->problem), QString::number(last->faceDown), QString()};
}

void CurrentGame::MarkSaved()
{
    const auto& history = controller.History();
    savedMoves.assign(history.begin(), history.begin() + controller.RemovedCount());
}

bool CurrentGame::UnsavedProgress() const
{
    if (!controller.GameActive() || controller.GetPaiCount() == 0 || controller.RemovedCount() == 0)
        return false;
    const auto& history = controller.History();
    return !std::equal(savedMoves.begin(), savedMoves.end(), history.begin(), history.begin() + controller.RemovedCount());
}

bool CurrentGame::QuitConfirmed(const QString& title) const
{
    if (!UnsavedProgress())
        return true;
    return ShowMessage({QCoreApplication::translate("ModuleMain", "ゲームを終了しますか？").toStdString(),
                        title.toStdString(), MessageButtons::YesNo, MessageIcon::Question}) == MessageResult::Yes;
}

QString CurrentGame::CheckedLayoutCaption(const GameFolders& folders, const QString& layoutName)
{
    const QString path = folders.LayoutPath(layoutName);
    if (layoutName.contains(u'/') || !QFileInfo(path).isFile()) {
        const QStringList known = folders.LayoutNames();
        throw CommandLineError("no layout named " + QuotedText(layoutName.toStdString()) + " in " +
                               folders.ShippedTemplateFolder().toStdString() + " (there are: " +
                               known.join(QStringLiteral(", ")).toStdString() + ")");
    }
    try {
        return LayoutCaption(path);
    } catch (const NumberedError& error) {
        throw CommandLineError("the layout " + QuotedText(layoutName.toStdString()) + " cannot be read: " + error.what());
    }
}
