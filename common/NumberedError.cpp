#include "NumberedError.h"

#include <cerrno>
#include <cstring>

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

std::string NumberedError::ErrnoReason(int errnoValue)
{
    // Fixed English texts, whatever the C locale says, so that the message box can translate them.
    switch (errnoValue) {
    case ENOENT: return "No such file or directory";
    case ENOTDIR: return "Not a directory";
    case EISDIR: return "Is a directory";
    case EACCES:
    case EPERM: return "Permission denied";
    case EROFS: return "Read-only file system";
    case ENOSPC: return "No space left on device";
    case EDQUOT: return "Disk quota exceeded";
    case EFBIG: return "File too large";
    case EIO: return "Input/output error";
    case ENAMETOOLONG: return "File name too long";
    case ELOOP: return "Too many levels of symbolic links";
    case EEXIST: return "File exists";
    default: return std::strerror(errnoValue);
    }
}

NumberedError NumberedError::FromErrno(const std::string& path, int errnoValue)
{
    const std::string detail = path + ": " + ErrnoReason(errnoValue);
    switch (errnoValue) {
    case ENOENT: return NumberedError(FileNotFound, detail);
    case ENOTDIR: return NumberedError(PathNotFound, detail);
    case EACCES:
    case EPERM:
    case EROFS: return NumberedError(PermissionDenied, detail);
    case ENOSPC:
    case EDQUOT: return NumberedError(DiskFull, detail);
    case EIO: return NumberedError(DeviceIoError, detail);
    case ENAMETOOLONG: return NumberedError(BadFileName, detail);
    default: return NumberedError(PathFileAccessError, detail);
    }
}
