#include "CommandLine.h"
#include "DX7Sound.h"
#include "FormMain.h"
#include "Language.h"
#include "ModuleMain.h"
#include "QtSoundBackend.h"
#include "SmokeTest.h"
#include "WindowMessageBox.h"

#include <QApplication>
#include <QFont>
#include <QLocale>

#include <iostream>

namespace {

// The player's language, before any window is made.
void StartLanguage(const std::optional<QString>& requested)
{
    const UiLanguage language = ChooseLanguage(QLocale::system().uiLanguages(), requested);
    if (!InstallLanguage(language))
        std::cerr << "tovrik: the texts for language " << LanguageCode(language).toStdString()
                  << " are missing; showing the program's own\n";
    if (language != UiLanguage::Japanese) {
        // Qt's own dialogs (message boxes, the file dialog) ask for the windows' Latin font too.
        QFont font = QApplication::font();
        font.setFamilies(TextFontFamilies());
        QApplication::setFont(font);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    const bool smokeTest = AsksForSmokeTest(argc, argv);
    if (smokeTest && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tovrik"));
    if (smokeTest)
        return RunSmokeTest(QCoreApplication::applicationDirPath());
    InstallWindowMessageBox();
    DX7Sound::SetBackendFactory([] { return std::make_unique<QtSoundBackend>(); });
    try {
        const QStringList arguments = QCoreApplication::arguments().mid(1);
        StartLanguage(CommandLine(arguments).Language());
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
