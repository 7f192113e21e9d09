#include "CommandLine.h"
#include "DX7Sound.h"
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
        return QApplication::exec();
    } catch (const CommandLineError& error) {
        std::cerr << "tovrik: " << error.what() << '\n' << CommandLine::Usage().toStdString() << '\n';
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "tovrik: cannot start: " << error.what() << '\n';
        return 1;
    }
}
