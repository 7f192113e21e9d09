#include "NumberedError.h"

#include <cerrno>

namespace {

std::string Compose(int number, const std::string& detail)
{
    std::string text = NumberedError::Description(number) + " (error " + std::to_string(number) + ")";
    if (!detail.empty())
        text += ": " + detail;
    return text;
}

} // namespace

NumberedError::NumberedError(int number, const std::string& detail)
    : std::runtime_error(Compose(number, detail)), number_(number), detail_(detail)
{
}

std::string NumberedError::Description(int number)
{
    switch (number) {
    case InvalidArgument: return "Invalid procedure call or argument";
    case Overflow: return "Overflow";
    case SubscriptOutOfRange: return "Subscript out of range";
    case DivisionByZero: return "Division by zero";
    case BadFileName: return "Bad file name or number";
    case FileNotFound: return "File not found";
    case DeviceIoError: return "Device I/O error";
    case DiskFull: return "Disk full";
    case InputPastEndOfFile: return "Input past end of file";
    case PermissionDenied: return "Permission denied";
    case PathFileAccessError: return "Path/File access error";
    case PathNotFound: return "Path not found";
    default: return "Application-defined or object-defined error";
    }
}

NumberedError NumberedError::FromErrno(const std::string& path, int errnoValue)
{
    switch (errnoValue) {
    case ENOENT: return NumberedError(FileNotFound, path);
    case ENOTDIR: return NumberedError(PathNotFound, path);
    case EACCES:
    case EPERM:
    case EROFS: return NumberedError(PermissionDenied, path);
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return NumberedError(DiskFull, path);
    case EIO: return NumberedError(DeviceIoError, path);
    case ENAMETOOLONG: return NumberedError(BadFileName, path);
    default: return NumberedError(PathFileAccessError, path);
    }
}
