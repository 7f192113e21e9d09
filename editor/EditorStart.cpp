#include "EditorStart.h"

#include "GameFolders.h"
#include "MessageBox.h"
#include "NumberedError.h"

#include <QApplication>
#include <QCoreApplication>

LayoutEditor::Folders EditorFolders(const GameFolders& folders)
{
    return {folders.ShippedTemplateFolder(), folders.UserTemplateFolder()};
}

LayoutEditor* OpenLayoutEditor(const LayoutEditor::Folders& folders, const QString& path, QWidget* owner,
                               std::function<void(const QString& fileName)> saved)
{
    LayoutEditor* editor = nullptr;
    try {
        editor = new LayoutEditor(folders, path, owner);
    } catch (const NumberedError& error) {
        ShowMessage({QCoreApplication::translate("LayoutEditor", "陣形ファイルを読めません: %1\n%2")
                         .arg(path, QString::fromStdString(error.what()))
                         .toStdString(),
                     {}, MessageButtons::Ok, MessageIcon::Warning});
        return nullptr;
    }
    editor->setAttribute(Qt::WA_DeleteOnClose);
    if (owner)
        editor->setWindowModality(Qt::ApplicationModal);
    if (saved)
        QObject::connect(editor, &LayoutEditor::Saved, editor, std::move(saved));
    editor->show();
    return editor;
}

int RunLayoutEditor(const QString& programFolder, const QString& path)
{
    const GameFolders folders(programFolder);
    return OpenLayoutEditor(EditorFolders(folders), path, nullptr, {}) ? QApplication::exec() : 1;
}
