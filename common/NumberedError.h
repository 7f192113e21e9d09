#pragma once

#include <stdexcept>
#include <string>

// The numbered errors every subsystem raises to its caller. The numbers follow
// the classic runtime error numbers so that a message can always name one.
class NumberedError : public std::runtime_error {
public:
    enum Number : int {
        InvalidArgument = 5,
        Overflow = 6,
        SubscriptOutOfRange = 9,
        DivisionByZero = 11,
        BadFileName = 52,
        FileNotFound = 53,
        DeviceIoError = 57,
        DiskFull = 61,
        InputPastEndOfFile = 62,
        PermissionDenied = 70,
        PathFileAccessError = 75,
        PathNotFound = 76,
    };

    NumberedError(int number, const std::string& detail);

    int number() const noexcept { return number_; }
    // What the code knows about the cause ("entry 3 is cut short"); may be empty.
    const std::string& detail() const noexcept { return detail_; }
    // The error's own description, without the detail ("Subscript out of range").
    static std::string Description(int number);

    // "Permission denied", "File too large" ...: what errno says happened.
    static std::string ErrnoReason(int errnoValue);
    // A file error for errno while working on path; the detail is "PATH: REASON".
    static NumberedError FromErrno(const std::string& path, int errnoValue);

private:
    int number_;
    std::string detail_;
};
