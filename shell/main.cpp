#include "CommandLine.h"
#include "DX7Sound.h"
#include "FormMain.h"
#include "ModuleMain.h"
#include "QtSoundBackend.h"
#include "WindowMessageBox.h"

#include <QApplication>

#include <iostream>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    InstallWindowMessageBox();
    DX7Sound::SetBackendFactory([] { return std::make_unique<QtSoundBackend>(); });
    try {
        ModuleMain module(QCoreApplication::applicationDirPath(), QCoreApplication::arguments().mid(1));
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
