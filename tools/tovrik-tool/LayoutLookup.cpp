#include "AtomicFile.h"
#include "GameFolders.h"
#include "ImportWriter.h"
#include "ToolCommand.h"

#include <filesystem>
#include <system_error>

namespace {

// The game's folders as the program beside the tool sees them.
GameFolders ToolFolders(std::error_code& error)
{
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return GameFolders(QString::fromStdString(program.parent_path().string()));
}

} // namespace

std::string FindLayoutFile(const std::string& name)
{
    std::error_code error;
    if (name.find('/') != std::string::npos || std::filesystem::exists(name, error))
        return name;
    const GameFolders folders = ToolFolders(error);
    if (error)
        return name;
    const QString path = folders.LayoutPath(QString::fromStdString(name));
    return std::filesystem::exists(path.toStdString(), error) ? path.toStdString() : name;
}

std::string UserLayoutFolder()
{
    std::error_code error;
    return ToolFolders(error).UserTemplateFolder().toStdString();
}

std::string ShippedLayoutFolder()
{
    std::error_code error;
    return ToolFolders(error).ShippedTemplateFolder().toStdString();
}

void RemoveToolLeftovers()
{
    const std::string folder = UserLayoutFolder();
    RemoveStaleTemporaries(folder);
    RemoveStaleTemporaries(GameFolders::UserFolder().toStdString());
    ImportWriter::RemoveStaleStaging(folder);
}
