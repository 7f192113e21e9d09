#include "PictureFile.h"

#include "NumberedError.h"
#include "RegularFile.h"

#include <QFile>
#include <QImageReader>

QImage ReadPictureFile(const QString& path)
{
    const std::string name = QFile::encodeName(path).toStdString();
    RegularFile regular(name);
    QFile file;
    if (!file.open(regular.Descriptor(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        throw NumberedError(NumberedError::PathFileAccessError, name + ": " + file.errorString().toStdString());
    regular.Release();
    QImageReader reader(&file);
    QImage picture = reader.read();
    if (picture.isNull())
        throw NumberedError(NumberedError::InvalidArgument, name + ": " + reader.errorString().toStdString());
    return picture;
}
