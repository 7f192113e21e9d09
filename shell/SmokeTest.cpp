#include "SmokeTest.h"

#include "AtomicFile.h"
#include "GameFolders.h"
#include "MessageBox.h"
#include "ModuleMain.h"
#include "PaiCtrl.h"
#include "PaiStructure.h"
#include "NumberedError.h"
#include "RegularFile.h"
#include "Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <stdexcept>

namespace {

// Far larger than any file of the player's that the game reads.
constexpr uint64_t kLargestCopied = uint64_t{64} << 20;

// Copies the regular files of from (and of its folders, one level down) into
// to. Anything else, a FIFO included, is skipped without being opened for long.
void CopyFolder(const QString& from, const QString& to, int depth = 1)
{
    const QDir source(from);
    if (!source.exists())
        return;
    CreateFolders(to.toStdString());
    for (const QFileInfo& entry : source.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QString target = to + u'/' + entry.fileName();
        if (entry.isDir() && !entry.isSymLink() && depth > 0) {
            CopyFolder(entry.filePath(), target, depth - 1);
            continue;
        }
        try {
            const std::vector<uint8_t> bytes = ReadRegularFile(entry.filePath().toStdString(), kLargestCopied, "the file");
            WriteFileAtomically(target.toStdString(), bytes);
        } catch (const NumberedError& error) {
            std::cout << "not copied: " << error.what() << '\n';
        }
    }
}

// The player's settings and data folders, copied into scratch; the test then
// reads and writes only the copies, so the player's files never change.
void UseScratchCopy(const QString& scratch)
{
    const QString configFolder = QFileInfo(Settings::DefaultFilePath()).path();
    const QString dataFolder = GameFolders::UserFolder();
    CopyFolder(configFolder, scratch + QStringLiteral("/config/tovrik"));
    CopyFolder(dataFolder, scratch + QStringLiteral("/data/tovrik"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(scratch + QStringLiteral("/data")));
    std::cout << "scratch copy: " << scratch.toStdString() << '\n';
}

// The settings file as it is on disk, not as the settings object remembers it.
QString SettingsOnDisk(const QString& path)
{
    try {
        const std::vector<uint8_t> bytes = ReadRegularFile(path.toStdString(), Settings::kLargestUsableFile, "the settings file");
        return QString::fromUtf8(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    } catch (const NumberedError& error) {
        throw std::runtime_error(std::string("the settings were not written: ") + error.what());
    }
}

// A platform that cannot start is reported, not aborted on.
void FatalMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    std::cerr << "tovrik: " << message.toStdString() << '\n';
    if (type == QtFatalMsg) {
        std::cerr << "tovrik: smoke test failed: the display platform cannot start\n";
        std::_Exit(1);
    }
}

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

    const QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/tovrik-smoke-XXXXXX"));
    Require(scratch.isValid(), "no scratch folder: " + scratch.errorString().toStdString());
    UseScratchCopy(scratch.path());
    // Everything is written into the scratch copy, even for a copy whose own folder may be written to.
    ModuleMain module(programFolder,
                      {QStringLiteral("--layout"), layouts.constFirst(), QStringLiteral("--problem"), QStringLiteral("1")},
                      [](const QString&) { return false; });
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
    const QString settingsPath = module.UserSettings().FilePath();
    std::cout << "settings: " << settingsPath.toStdString() << '\n';
    Require(SettingsOnDisk(settingsPath).contains(QStringLiteral("autoHint=true")),
            "the settings were not written to " + settingsPath.toStdString());
    module.ExitApp();
}

} // namespace

void PrepareSmokeTest()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(FatalMessage);
}

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
