#include "GameFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

#include <algorithm>
#include <utility>

namespace {

const QString kTemplate = QStringLiteral("template");
const QString kInstalledData = QStringLiteral("/../share/tovrik");

} // namespace

GameFolders::GameFolders(const QString& programFolder, WritableCheck writable)
    : programFolder_(programFolder), dataFolder_(FindDataFolder(programFolder)), writable_(std::move(writable))
{
}

bool GameFolders::IsWritableFolder(const QString& folder)
{
    return ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

QString GameFolders::UserFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/tovrik");
}

// Beside the program first, so a build folder or portable copy behaves as it
// always has; an installed copy's data lies in share/tovrik beside bin/.
QString GameFolders::FindDataFolder(const QString& programFolder)
{
    if (QFileInfo(programFolder + u'/' + kTemplate).isDir())
        return programFolder;
    const QString installed = QDir::cleanPath(programFolder + kInstalledData);
    if (QFileInfo(installed + u'/' + kTemplate).isDir())
        return installed;
    return programFolder;
}

QString GameFolders::ShippedTemplateFolder() const
{
    return dataFolder_ + u'/' + kTemplate;
}

QString GameFolders::WallpaperFolder() const
{
    return dataFolder_ + QStringLiteral("/wallpaper");
}

QString GameFolders::SoundArchivePath() const
{
    return dataFolder_ + QStringLiteral("/sound.dat");
}

QString GameFolders::UserTemplateFolder() const
{
    return UserFolder() + u'/' + kTemplate;
}

QString GameFolders::WritableFolder() const
{
    if (DataBesideProgram() && writable_(programFolder_))
        return programFolder_;
    const QString folder = UserFolder();
    QDir().mkpath(folder);
    return folder;
}

QStringList GameFolders::LayoutFolders() const
{
    return {UserTemplateFolder(), ShippedTemplateFolder()};
}

QStringList GameFolders::LayoutNames() const
{
    return LayoutNamesIn(LayoutFolders());
}

QString GameFolders::LayoutPath(const QString& name) const
{
    return LayoutPathIn(LayoutFolders(), name);
}

bool GameFolders::IsOwnLayout(const QString& name) const
{
    return !name.contains(u'/') && QFileInfo(UserTemplateFolder() + u'/' + name).isFile();
}

QStringList GameFolders::LayoutNamesIn(const QStringList& folders)
{
    QStringList names;
    for (const QString& folder : folders)
        names += QDir(folder).entryList({QStringLiteral("*.tvm")}, QDir::Files);
    names.removeDuplicates();
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return names;
}

QString GameFolders::LayoutPathIn(const QStringList& folders, const QString& name)
{
    for (const QString& folder : folders) {
        const QString path = folder + u'/' + name;
        if (QFileInfo(path).isFile())
            return path;
    }
    return folders.isEmpty() ? name : folders.constLast() + u'/' + name;
}
