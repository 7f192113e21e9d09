#include "DialogBox.h"

#include "MessageBox.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include <utility>

namespace {

QString AllFilesFilter()
{
    return QCoreApplication::translate("DialogBox", "全て(*.*)") + QChar(u'\0') + QStringLiteral("*.*");
}

QString ShowFileDialog(const DialogBox::ChooserRequest& request)
{
    QFileDialog dialog(request.owner, request.title, request.initialFolder, request.filter);
    const bool opening = request.kind == DialogBox::Kind::Open;
    dialog.setAcceptMode(opening ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    const bool mustExist = request.flags & DialogBox::FLAG_FILE_MUST_EXIST;
    dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!request.defaultExtension.isEmpty())
        dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.proposedFile.isEmpty())
        dialog.selectFile(request.proposedFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

DialogBox::Chooser& CurrentChooser()
{
    static DialogBox::Chooser chooser = ShowFileDialog;
    return chooser;
}

// Windows patterns are separated by ";"; "*.*" there means every file.
QString ToQtPatterns(const QString& patterns)
{
    QStringList list = patterns.split(u';', Qt::SkipEmptyParts);
    for (QString& pattern : list) {
        pattern = pattern.trimmed();
        if (pattern == QStringLiteral("*.*"))
            pattern = QStringLiteral("*");
    }
    return list.join(u' ');
}

} // namespace

DialogBox::Chooser DialogBox::SetChooser(Chooser chooser)
{
    if (!chooser)
        chooser = ShowFileDialog;
    return std::exchange(CurrentChooser(), std::move(chooser));
}

void DialogBox::Initialize(QWidget* owner)
{
    for (FileRecord* record : {&open_, &save_}) {
        *record = FileRecord{};
        record->owner = owner;
        record->filter = AllFilesFilter();
        record->initialFolder = ProgramFolderPath();
    }
    open_.title = QCoreApplication::translate("DialogBox", "ファイルを開く");
    open_.flags = FLAG_PATH_MUST_EXIST | FLAG_FILE_MUST_EXIST;
    save_.title = QCoreApplication::translate("DialogBox", "名前を付けて保存");
    initialized_ = true;
}

void DialogBox::OpenDialog_Filter(const QString& filter) { open_.filter = filter; }
void DialogBox::OpenDialog_DefExt(const QString& extension) { open_.defaultExtension = extension; }
void DialogBox::OpenDialog_DefFile(const QString& fileName) { open_.file = FileBufferText(fileName); }
void DialogBox::OpenDialog_Title(const QString& title) { open_.title = title; }
void DialogBox::OpenDialog_InitialFolder(const QString& folder) { open_.initialFolder = FolderWithSeparator(folder); }
void DialogBox::SaveDialog_Filter(const QString& filter) { save_.filter = filter; }
void DialogBox::SaveDialog_DefExt(const QString& extension) { save_.defaultExtension = extension; }
void DialogBox::SaveDialog_DefFile(const QString& fileName) { save_.file = FileBufferText(fileName); }
void DialogBox::SaveDialog_Title(const QString& title) { save_.title = title; }

bool DialogBox::OpenDialog()
{
    return ShowDialog(Kind::Open, open_, openSelected_);
}

bool DialogBox::SaveDialog()
{
    return ShowDialog(Kind::Save, save_, saveSelected_);
}

QString DialogBox::OpenFile() const { return openSelected_ ? open_.file : QString(); }
QString DialogBox::OpenFName() const { return openSelected_ ? open_.fileTitle : QString(); }
QString DialogBox::SaveFile() const { return saveSelected_ ? save_.file : QString(); }
QString DialogBox::SaveFName() const { return saveSelected_ ? save_.fileTitle : QString(); }

QString DialogBox::OpenDirectry() const
{
    return OpenFile().left(OpenFile().size() - OpenFName().size());
}

QString DialogBox::SaveDirectry() const
{
    return SaveFile().left(SaveFile().size() - SaveFName().size());
}

bool DialogBox::ShowDialog(Kind kind, FileRecord& record, bool& selected)
{
    if (!initialized_) {
        ShowMessage({"Debug: OFN not setting!", "No Initialize", MessageButtons::Ok, MessageIcon::None});
        return false;
    }
    ChooserRequest request;
    request.kind = kind;
    request.owner = record.owner;
    request.title = record.title;
    request.filter = ToQtFilter(record.filter);
    request.initialFolder = record.initialFolder;
    request.proposedFile = record.file;
    request.defaultExtension = record.defaultExtension;
    request.flags = record.flags;
    const QString chosen = CurrentChooser()(request);

    selected = !chosen.isEmpty();
    if (selected) {
        record.file = chosen;
        record.fileTitle = QFileInfo(chosen).fileName();
        record.initialFolder = chosen.left(chosen.size() - record.fileTitle.size());
    }
    return selected;
}

QString DialogBox::ToQtFilter(const QString& windowsFilter)
{
    const QStringList parts = windowsFilter.split(QChar(u'\0'), Qt::SkipEmptyParts);
    if (parts.size() == 1)
        return ToQtPatterns(parts.constFirst());
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + QStringLiteral(" (") + ToQtPatterns(parts[i + 1]) + u')';
    return filters.join(QStringLiteral(";;"));
}

QString DialogBox::FolderWithSeparator(const QString& folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

QString DialogBox::ProgramFolderPath()
{
    return FolderWithSeparator(QCoreApplication::applicationDirPath());
}

QString DialogBox::FileBufferText(const QString& text)
{
    return text.left(FILE_BUFFER_SIZE);
}
