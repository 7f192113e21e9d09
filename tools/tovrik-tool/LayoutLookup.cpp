#include "GameFolders.h"
#include "ToolCommand.h"

#include <filesystem>
#include <system_error>

std::string FindLayoutFile(const std::string& name)
{
    std::error_code error;
    if (name.find('/') != std::string::npos || std::filesystem::exists(name, error))
        return name;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return name;
    const GameFolders folders(QString::fromStdString(program.parent_path().string()));
    const QString path = folders.LayoutPath(QString::fromStdString(name));
    return std::filesystem::exists(path.toStdString(), error) ? path.toStdString() : name;
}
