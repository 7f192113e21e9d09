// tovrik-artgen TILES.png BUTTONS.png BUTTONS-EN.png GALLERY.png
// Draws the tile sheet, the button-bar sheets (Japanese and English labels)
// and the documentation's tile gallery.
#include "ButtonSheet.h"
#include "TileGallery.h"
#include "TileSheet.h"

#include <QGuiApplication>
#include <exception>
#include <iostream>
#include <stdexcept>

namespace {

void Save(const QImage& image, const char* path)
{
    if (!image.save(QString::fromLocal8Bit(path), "PNG"))
        throw std::runtime_error(std::string("cannot write ") + path);
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
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
