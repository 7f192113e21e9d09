#include "StartupChecks.h"

#include "AtomicFile.h"
#include "GameFolders.h"
#include "MessageBox.h"
#include "Settings.h"

#include <QCoreApplication>
#include <QFileInfo>

void StartupChecks::RemoveStaleTemporaries(const GameFolders& folders)
{
    const QString settingsFolder = QFileInfo(Settings::DefaultFilePath()).path();
    for (const QString& folder : {folders.WritableFolder(), GameFolders::UserFolder(), folders.UserTemplateFolder(), settingsFolder})
        ::RemoveStaleTemporaries(folder.toStdString());
}

void StartupChecks::TellSettingsProblems()
{
    for (const QString& problem : Settings::TakeStartProblems())
        ShowMessage({problem.toStdString(), QCoreApplication::translate("StartupChecks", "設定").toStdString(),
                     MessageButtons::Ok, MessageIcon::Warning});
}
