// tovrik-artgen TILES.png BUTTONS.png BUTTONS-EN.png GALLERY.png
// Draws the tile sheet, the button-bar sheets (Japanese and English labels)
// and the documentation's tile gallery.
// tovrik-artgen --extras WALLPAPER-DIR ICON-DIR
// Draws the shipped wallpapers and the program's icon (ICON-DIR/SIZE.png).
#include "AppIcon.h"
#include "ButtonSheet.h"
#include "TileGallery.h"
#include "TileSheet.h"
#include "Wallpapers.h"

#include <QGuiApplication>
#include <exception>
#include <iostream>
#include <stdexcept>
#include <string>

namespace {

void Save(const QImage& image, const char* path)
{
    if (!image.save(QString::fromLocal8Bit(path), "PNG"))
        throw std::runtime_error(std::string("cannot write ") + path);
}

void SaveExtras(const QString& wallpaperFolder, const QString& iconFolder)
{
    for (const Wallpapers::Wallpaper& wallpaper : Wallpapers::Build())
        Save(wallpaper.picture, (wallpaperFolder + u'/' + wallpaper.fileName).toLocal8Bit().constData());
    for (int size : AppIcon::kSizes)
        Save(AppIcon::Build(size), (iconFolder + u'/' + QString::number(size) + QStringLiteral(".png")).toLocal8Bit().constData());
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 4 && std::string(argv[1]) == "--extras") {
        try {
            SaveExtras(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
        } catch (const std::exception& error) {
            std::cerr << "tovrik-artgen: " << error.what() << '\n';
            return 1;
        }
        return 0;
    }
    if (argc != 5) {
        std::cerr << "usage: tovrik-artgen TILES.png BUTTONS.png BUTTONS-EN.png GALLERY.png\n";
        return 2;
    }
    try {
        const QImage tiles = TileSheet::Build();
        Save(tiles, argv[1]);
        Save(ButtonSheet::Build(ButtonSheet::Labels::Japanese), argv[2]);
        Save(ButtonSheet::Build(ButtonSheet::Labels::English), argv[3]);
        Save(TileGallery::Build(tiles), argv[4]);
    } catch (const std::exception& error) {
        std::cerr << "tovrik-artgen: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
