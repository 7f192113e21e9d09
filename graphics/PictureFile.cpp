#include "PictureFile.h"

#include "NumberedError.h"

#include <QFile>
#include <QImageReader>

#include <filesystem>
#include <system_error>

QImage ReadPictureFile(const QString& path)
{
    const std::string name = path.toStdString();
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path.toStdU16String(), error);
    if (!std::filesystem::exists(status))
        throw NumberedError(NumberedError::FileNotFound, name);
    // A folder or a FIFO is no picture, and reading a FIFO could block.
    if (!std::filesystem::is_regular_file(status))
        throw NumberedError(NumberedError::PathFileAccessError, name + ": not a regular file");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const int number = file.error() == QFileDevice::PermissionsError ? NumberedError::PermissionDenied
                                                                         : NumberedError::PathFileAccessError;
        throw NumberedError(number, name + ": " + file.errorString().toStdString());
    }
    QImageReader reader(&file);
    QImage picture = reader.read();
    if (picture.isNull())
        throw NumberedError(NumberedError::InvalidArgument, name + ": " + reader.errorString().toStdString());
    return picture;
}
