#include "BinaryFile.h"

#include "RegularFile.h"

std::vector<uint8_t> ReadBinaryFile(const std::string& path, const std::string& what)
{
    return ReadRegularFile(path, kMaxSoundFileBytes, what);
}
