#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class QWidget;

// The open-file and save-file dialogs behind a small object. Each kind keeps
// its own record between calls, so the next dialog of that kind starts in the
// folder of the last confirmed choice and proposes the last chosen path.
class DialogBox {
public:
    enum class Kind { Open, Save };

    // The flags the record carries, in the values the records have always used.
    static constexpr uint32_t FLAG_PATH_MUST_EXIST = 0x800;
    static constexpr uint32_t FLAG_FILE_MUST_EXIST = 0x1000;
    static constexpr int FILE_BUFFER_SIZE = 256;

    // What a chooser is asked to show. The filter is already in Qt's form.
    struct ChooserRequest {
        Kind kind = Kind::Open;
        QWidget* owner = nullptr;
        QString title;
        QString filter;
        QString initialFolder;
        QString proposedFile;
        QString defaultExtension;
        uint32_t flags = 0;
    };
    // Shows a dialog and answers the chosen full path, or an empty text when
    // the player cancelled.
    using Chooser = std::function<QString(const ChooserRequest&)>;

    // Installs the chooser every DialogBox uses and returns the one it
    // replaces; an empty chooser restores the window dialog. Tests answer the
    // dialogs through it without a window.
    static Chooser SetChooser(Chooser chooser);

    void Initialize(QWidget* owner);

    void OpenDialog_Filter(const QString& filter);
    void OpenDialog_DefExt(const QString& extension);
    void OpenDialog_DefFile(const QString& fileName);
    void OpenDialog_Title(const QString& title);
    // The folder the next open dialog starts in (the program's by default).
    void OpenDialog_InitialFolder(const QString& folder);
    void SaveDialog_Filter(const QString& filter);
    void SaveDialog_DefExt(const QString& extension);
    void SaveDialog_DefFile(const QString& fileName);
    void SaveDialog_Title(const QString& title);

    bool OpenDialog();
    bool SaveDialog();

    QString OpenFile() const;
    QString OpenFName() const;
    QString OpenDirectry() const;
    QString SaveFile() const;
    QString SaveFName() const;
    QString SaveDirectry() const;

    bool IsOpenSelected() const { return openSelected_; }
    bool IsSaveSelected() const { return saveSelected_; }

    // A filter in the "description NUL pattern" pair form, in Qt's form. A text
    // without NUL is taken as a pattern list of its own.
    static QString ToQtFilter(const QString& windowsFilter);
    // folder with a "/" appended unless it already ends in one.
    static QString FolderWithSeparator(const QString& folder);

private:
    struct FileRecord {
        QWidget* owner = nullptr;
        QString filter;
        QString file;
        QString fileTitle;
        QString initialFolder;
        QString title;
        uint32_t flags = 0;
        QString defaultExtension;
    };

    bool ShowDialog(Kind kind, FileRecord& record, bool& selected);
    static QString ProgramFolderPath();
    static QString FileBufferText(const QString& text);

    FileRecord open_;
    FileRecord save_;
    bool initialized_ = false;
    bool openSelected_ = false;
    bool saveSelected_ = false;
};
