#include "Wallpaper.h"

#include "DialogBox.h"
#include "GameFolders.h"
#include "MessageBox.h"
#include "PaiCtrl.h"
#include "PictureFile.h"
#include "Settings.h"

#include <QCoreApplication>
#include <QFileInfo>

Wallpaper::Wallpaper(PaiCtrl& controller, Settings& settings, const GameFolders& folders)
    : controller(controller), settings(settings), folders(folders)
{
}

void Wallpaper::ShowPlain()
{
    // The holder is still empty, which gives the plain wallpaper.
    controller.ChangeWallpaper(QImage(), true);
}

void Wallpaper::ApplyRemembered()
{
    const QString remembered = settings.Wallpaper();
    if (remembered.isEmpty())
        return;
    try {
        Apply(remembered);
    } catch (const std::exception&) {
        picWall = QImage();
        ShowPlain();
    }
}

bool Wallpaper::Choose(QWidget* parent)
{
    DialogBox dialogBox;
    dialogBox.Initialize(parent);
    dialogBox.OpenDialog_Title(QCoreApplication::translate("ModuleMain", "背景画を選択してください"));
    dialogBox.OpenDialog_Filter(QStringLiteral("*.bmp;*.gif;*.jpg;*.jpeg;*.png"));
    dialogBox.OpenDialog_InitialFolder(DialogFolder());
    if (!dialogBox.OpenDialog())
        return true;
    try {
        Apply(dialogBox.OpenFile());
        settings.SetWallpaper(dialogBox.OpenFile());
        return true;
    } catch (const std::exception& error) {
        // The wallpaper stays as it was; the player learns why.
        ShowMessage({QCoreApplication::translate("ModuleMain", "この画像は読み込めません。").toStdString() + "\n" +
                         error.what(),
                     QCoreApplication::translate("ModuleMain", "壁紙").toStdString(), MessageButtons::Ok,
                     MessageIcon::Warning});
        return false;
    }
}

// The shipped pictures' folder, or the folder of the picture chosen last.
QString Wallpaper::DialogFolder() const
{
    const QString chosen = settings.Wallpaper();
    return chosen.isEmpty() ? folders.WallpaperFolder() : QFileInfo(chosen).absolutePath();
}

void Wallpaper::Apply(const QString& path)
{
    QImage picture = ReadPictureFile(path);
    const bool isCenter = path.right(3).toLower() != QStringLiteral("bmp");
    picWall = std::move(picture);
    controller.ChangeWallpaper(picWall, isCenter);
}
