#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Where the game finds what it reads and puts what it writes.
//
// A copy whose layouts lie beside the program (the build folder, a portable
// copy) reads everything there and writes save.dat and answer.txt there too,
// as long as that folder may be written to. An installed copy reads from
// ../share/tovrik relative to the program and writes into the user's data
// folder only, so nothing is ever written into the install prefix.
class GameFolders {
public:
    // Answers whether the program may write files into a folder.
    using WritableCheck = std::function<bool(const QString& folder)>;

    explicit GameFolders(const QString& programFolder, WritableCheck writable = IsWritableFolder);

    // access(W_OK): true for root in almost any folder, hence the check can
    // be replaced.
    static bool IsWritableFolder(const QString& folder);
    // The user's own folder, <data home>/tovrik (XDG_DATA_HOME or
    // ~/.local/share), the application data location of a program named
    // tovrik without an organisation.
    static QString UserFolder();

    const QString& ProgramFolder() const { return programFolder_; }
    // Holds template/, sound.dat and wallpaper/.
    const QString& DataFolder() const { return dataFolder_; }
    bool DataBesideProgram() const { return dataFolder_ == programFolder_; }
    QString ShippedTemplateFolder() const;
    QString WallpaperFolder() const;
    QString SoundArchivePath() const;
    QString UserTemplateFolder() const;

    // The folder of save.dat and answer.txt; the user folder is created when
    // it is the one.
    QString WritableFolder() const;

    // The layout folders, the user's own first: a user's file wins over a
    // shipped one of the same name.
    QStringList LayoutFolders() const;
    // The names of every *.tvm file of the layout folders, each once, sorted
    // without regard to case.
    QStringList LayoutNames() const;
    // The file a layout name stands for; in the shipped folder (the last)
    // when no folder holds it, so that a message names the usual place.
    QString LayoutPath(const QString& name) const;

    // Whether the name stands for a layout of the player's own folder.
    bool IsOwnLayout(const QString& name) const;

    // The same two answers for any list of folders, the first one winning.
    static QStringList LayoutNamesIn(const QStringList& folders);
    static QString LayoutPathIn(const QStringList& folders, const QString& name);

private:
    static QString FindDataFolder(const QString& programFolder);

    QString programFolder_;
    QString dataFolder_;
    WritableCheck writable_;
};
