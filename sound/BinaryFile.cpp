#include "BinaryFile.h"

#include "NumberedError.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

std::vector<uint8_t> ReadBinaryFile(const std::string& path)
{
    std::error_code error;
    const auto length = std::filesystem::file_size(path, error);
    if (error)
        throw NumberedError::FromErrno(path, error.value());

    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file)
        throw NumberedError::FromErrno(path, errno);
    std::vector<uint8_t> bytes(length);
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        throw NumberedError(NumberedError::DeviceIoError, path);
    return bytes;
}
