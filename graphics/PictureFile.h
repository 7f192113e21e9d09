#pragma once

#include <QImage>
#include <QString>

// Reads a picture file (BMP, GIF, JPEG, PNG ...) without ever waiting: it is
// opened without blocking and anything but a regular file is refused at once.
// A file that is missing, is not a regular file, cannot be opened or does not
// decode raises a NumberedError whose text names the path and that cause.
QImage ReadPictureFile(const QString& path);
