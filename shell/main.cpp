#include "CommandLine.h"
#include "DX7Sound.h"
#include "FormMain.h"
#include "Language.h"
#include "ModuleMain.h"
#include "QtSoundBackend.h"
#include "WindowMessageBox.h"

#include <QApplication>
#include <QLocale>

#include <iostream>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    InstallWindowMessageBox();
    DX7Sound::SetBackendFactory([] { return std::make_unique<QtSoundBackend>(); });
    try {
        const QStringList arguments = QCoreApplication::arguments().mid(1);
        const UiLanguage language = ChooseLanguage(QLocale::system().uiLanguages(), CommandLine(arguments).Language());
        if (!InstallLanguage(language))
            std::cerr << "tovrik: the texts for language " << LanguageCode(language).toStdString()
                      << " are missing; showing the program's own\n";
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
