#include "CommandLine.h"
#include "DX7Sound.h"
#include "FormMain.h"
#include "ModuleMain.h"
#include "QtSoundBackend.h"
#include "SessionLanguage.h"
#include "Settings.h"
#include "SmokeTest.h"
#include "WindowMessageBox.h"

#include <QApplication>
#include <QLocale>

#include <iostream>

int main(int argc, char* argv[])
{
    const bool smokeTest = AsksForSmokeTest(argc, argv);
    if (smokeTest)
        PrepareSmokeTest();
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tovrik"));
    if (smokeTest)
        return RunSmokeTest(QCoreApplication::applicationDirPath());
    InstallWindowMessageBox();
    DX7Sound::SetBackendFactory([] { return std::make_unique<QtSoundBackend>(); });
    try {
        const QStringList arguments = QCoreApplication::arguments().mid(1);
        Settings settings;
        StartSessionLanguage(QLocale::system().uiLanguages(), CommandLine(arguments).Language(), settings);
        ModuleMain module(QCoreApplication::applicationDirPath(), arguments);
        module.Main();
        // A close asked for during start-up has already ended the game.
        return module.Form().isVisible() ? QApplication::exec() : 0;
    } catch (const CommandLineError& error) {
        std::cerr << "tovrik: " << error.what() << '\n' << CommandLine::Usage().toStdString() << '\n';
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "tovrik: cannot start: " << error.what() << '\n';
        return 1;
    }
}
