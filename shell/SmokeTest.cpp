#include "SmokeTest.h"

#include "AtomicFile.h"
#include "MessageBox.h"
#include "ModuleMain.h"
#include "PaiCtrl.h"
#include "PaiStructure.h"
#include "Settings.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <iostream>
#include <stdexcept>

namespace {

// Puts a file of the player's back as it was when the test is over: the
// smoke test must not cost a saved game or a setting.
class KeptFile {
public:
    explicit KeptFile(const QString& path) : path_(path)
    {
        QFile file(path_);
        existed_ = file.open(QIODevice::ReadOnly);
        if (existed_)
            bytes_ = file.readAll();
    }
    ~KeptFile()
    {
        if (!existed_) {
            QFile::remove(path_);
            return;
        }
        try {
            WriteFileAtomically(path_.toStdString(), bytes_.toStdString());
        } catch (const std::exception& error) {
            std::cerr << "tovrik: cannot put back " << path_.toStdString() << ": " << error.what() << '\n';
        }
    }
    KeptFile(const KeptFile&) = delete;
    KeptFile& operator=(const KeptFile&) = delete;

private:
    QString path_;
    bool existed_ = false;
    QByteArray bytes_;
};

void Require(bool condition, const std::string& what)
{
    if (!condition)
        throw std::runtime_error(what);
}

// Takes the first set of free tiles of one match class.
void PlayOneSet(PaiCtrl& controller)
{
    const PaiStructure& board = controller.Board();
    for (int32_t a = 0; a < board.MaxID(); ++a) {
        if (!board.Validity(a) || !board.Selectable(a))
            continue;
        int32_t taken = 0;
        for (int32_t b = a; b < board.MaxID() && taken < board.Once(); ++b)
            if (board.Validity(b) && board.Selectable(b) && board.Group(b) == board.Group(a)) {
                controller.ClickPai(b);
                ++taken;
            }
        if (taken == board.Once())
            return;
        controller.ClickPai(PaiCtrl::PAI_CANCEL);
    }
    throw std::runtime_error("the deal offers no free set");
}

void Run(const QString& programFolder)
{
    const GameFolders folders(programFolder);
    const QStringList layouts = folders.LayoutNames();
    std::cout << "data folder: " << folders.DataFolder().toStdString() << '\n'
              << "layouts: " << layouts.size() << '\n';
    Require(!layouts.isEmpty(), "no layouts in " + folders.ShippedTemplateFolder().toStdString());
    Require(QFileInfo(folders.SoundArchivePath()).isFile(), "no " + folders.SoundArchivePath().toStdString());

    const KeptFile keptSave(folders.WritableFolder() + QStringLiteral("/") + QString::fromUtf8(PaiCtrl::SAVE_FILE));
    const KeptFile keptSettings(Settings::DefaultFilePath());
    ModuleMain module(programFolder, {QStringLiteral("--layout"), layouts.constFirst(), QStringLiteral("--problem"),
                                      QStringLiteral("1")});
    module.Main();
    PaiCtrl& controller = module.Controller();
    const int32_t dealt = controller.GetPaiCount();
    Require(controller.GameActive() && dealt > 0, "no game was dealt");
    PlayOneSet(controller);
    Require(controller.GetPaiCount() < dealt, "no tiles were taken");

    std::cout << "save file: " << controller.SavePath() << '\n';
    Require(module.PanelCommand(ModuleCommands::PANEL_SAVE) && QFileInfo::exists(QString::fromStdString(controller.SavePath())),
            "the game was not saved");
    const int32_t saved = controller.GetPaiCount();
    module.PanelCommand(ModuleCommands::PANEL_RESTART);
    module.PanelCommand(ModuleCommands::PANEL_LOAD);
    Require(controller.GetPaiCount() == saved, "the loaded game differs from the saved one");

    module.PanelCommand(ModuleCommands::PANEL_AUTOHINT_ON);
    std::cout << "settings: " << module.UserSettings().FilePath().toStdString() << '\n';
    Require(Settings().AutoHint(), "the settings were not kept");
    module.ExitApp();
}

} // namespace

bool AsksForSmokeTest(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--smoke-test") == 0)
            return true;
    return false;
}

int RunSmokeTest(const QString& programFolder)
{
    // Questions are answered with their first button and printed.
    SetMessageHandler({});
    try {
        Run(programFolder);
    } catch (const std::exception& error) {
        std::cerr << "tovrik: smoke test failed: " << error.what() << '\n';
        return 1;
    }
    std::cout << "smoke test passed\n";
    return 0;
}
