#pragma once

#include <QPoint>
#include <QSize>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <optional>

// The player's choices kept between runs, in the user's config folder
// (tovrik/tovrik.conf). Every change is written to disk at once, so a game
// that is killed keeps them. A stored value that no longer applies (a picture
// that was deleted, a number out of range) reads as the default, with one line
// on standard error per key.
//
// A settings file that cannot be used (not a regular file, over 1 MiB, not
// readable, not an INI file) is moved aside as tovrik.conf.damaged-TIME and
// the game starts from the defaults; StartProblems() says so, for the game to
// tell the player once. A change that cannot be written is told once, in a
// message box, and holds for the rest of the run.
//
// Further settings need no new plumbing: Value and SetValue take any key;
// give a new setting a pair of accessors here when more than one place uses it.
class Settings {
public:
    // The main window's size when neither maximised nor full screen, and
    // whether it was maximised or full screen.
    struct WindowShape {
        std::optional<QSize> size;
        bool maximised = false;
        bool fullScreen = false;
    };

    // The game the player chose last, offered again by the selection dialog.
    struct GameChoice {
        QString layout;
        int32_t problem = 0;   // 0: a random deal
        int32_t faceDown = 0;  // 0 none, 1 all, otherwise that many tiles
    };

    static constexpr int32_t kHighestProblem = 100000;
    static constexpr int32_t kMostFaceDown = 512;
    // No window is wider or higher, whatever the file says.
    static constexpr int kLargestWindowSide = 16384;
    static constexpr qint64 kLargestUsableFile = qint64{1} << 20;

    // The user's settings file.
    Settings();
    // A settings file of its own (tests, tools).
    explicit Settings(const QString& filePath);

    // <config folder>/tovrik/tovrik.conf, as QStandardPaths names the folder
    // (XDG_CONFIG_HOME or ~/.config).
    static QString DefaultFilePath();
    QString FilePath() const { return store_.fileName(); }

    bool Sound() const;
    void SetSound(bool on);
    bool AutoHint() const;
    void SetAutoHint(bool on);
    // The side bar's play time and takeable sets; shown unless set false.
    bool StatusShown() const;
    void SetStatusShown(bool on);

    // The wallpaper picture, or an empty text for the plain board (also when
    // the remembered picture is gone).
    QString Wallpaper() const;
    void SetWallpaper(const QString& path);

    std::optional<GameChoice> LastGame() const;
    void SetLastGame(const GameChoice& game);

    std::optional<QPoint> WindowPosition() const;
    void SetWindowPosition(QPoint topLeft);
    WindowShape LastWindowShape() const;
    void SetLastWindowShape(const WindowShape& shape);

    QVariant Value(const QString& key, const QVariant& fallback = {}) const;
    void SetValue(const QString& key, const QVariant& value);
    void Remove(const QString& key);

    // What went wrong with the settings files opened so far, one paragraph
    // each, taken once (the game shows them in a message box).
    static QStringList TakeStartProblems();

private:
    // A settings file that is not a regular file (a FIFO would block start-up)
    // or is far larger than any the game writes is moved aside, so the game
    // starts from the defaults.
    static const QString& SetAsideIfUnusable(const QString& filePath);
    void CheckRead();
    void CheckWritten();
    // One line on standard error for a stored value that is not used.
    void Rejected(const QString& key) const;
    bool Flag(const QString& key) const;
    std::optional<int32_t> WholeNumber(const QString& key, int32_t lowest, int32_t highest) const;

    mutable QSettings store_;
    mutable QStringList rejectedKeys_;
};
