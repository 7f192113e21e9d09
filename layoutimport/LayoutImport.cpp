#include "LayoutImport.h"

#include "ImportError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

std::string_view TrimmedValue(std::string_view value)
{
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
        value.remove_suffix(1);
    return value;
}

// Undoes the entry format's escapes; a line break becomes a blank, since the message wraps on its own.
std::string Unescaped(std::string_view value)
{
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const char next = value[++i];
        out += next == 's' || next == 'n' || next == 't' || next == 'r' ? ' ' : next;
    }
    return out;
}

std::string DesktopEntryPath(const std::string& path)
{
    return std::filesystem::path(path).replace_extension(".desktop").string();
}

} // namespace

std::string ReadImportFile(const std::string& path)
{
    // Opened without blocking and checked through the open descriptor, so that a
    // pipe or device put in the file's place can neither stall nor feed the reader.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw ImportError(std::string("cannot be read (") + std::strerror(errno) + ")");
    struct stat info {};
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    std::string bytes;
    if (regular && static_cast<uintmax_t>(info.st_size) <= kMaxImportBytes) {
        bytes.resize(kMaxImportBytes + 1);
        size_t filled = 0;
        for (ssize_t n; filled < bytes.size() && (n = read(fd, bytes.data() + filled, bytes.size() - filled)) != 0;) {
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                close(fd);
                throw ImportError(std::string("cannot be read (") + std::strerror(errno) + ")");
            }
            filled += static_cast<size_t>(n);
        }
        bytes.resize(filled);
    }
    close(fd);
    if (!regular)
        throw ImportError("not a regular file");
    if (static_cast<uintmax_t>(info.st_size) > kMaxImportBytes || bytes.size() > kMaxImportBytes)
        throw ImportError("larger than " + std::to_string(kMaxImportBytes / 1024) + " KiB");
    return bytes;
}

void ReadDesktopEntry(std::string_view text, ForeignLayout& layout)
{
    std::string name, localName, description, localDescription;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = TrimmedValue(line.substr(0, equals));
        const std::string value = Unescaped(TrimmedValue(line.substr(equals + 1)));
        std::string* target = key == "Name" ? &name
            : key == "Name[ja]"             ? &localName
            : key == "Description"          ? &description
            : key == "Description[ja]"      ? &localDescription
                                            : nullptr;
        if (target && target->empty())
            *target = value;
    }
    if (!localName.empty() || !name.empty())
        layout.name = localName.empty() ? name : localName;
    layout.description = localDescription.empty() ? description : localDescription;
}

std::vector<ForeignLayout> ParseForeignLayouts(std::string_view text, const std::string& fallbackName,
                                               std::string_view desktopEntry)
{
    if (LooksLikeXml(text))
        return ParseXmlMaps(text);
    ForeignLayout layout;
    layout.name = fallbackName;
    layout.fileStem = fallbackName;
    layout.tiles = ParseQuarterTileGrid(text, layout.warnings);
    ReadDesktopEntry(desktopEntry, layout);
    return {layout};
}

std::vector<ForeignLayout> ReadForeignLayouts(const std::string& path)
{
    const std::string text = ReadImportFile(path);
    std::string desktopEntry;
    const std::string entryPath = DesktopEntryPath(path);
    if (!LooksLikeXml(text) && entryPath != path && std::filesystem::exists(entryPath)) {
        try {
            desktopEntry = ReadImportFile(entryPath);
        } catch (const ImportError& error) {
            throw ImportError(entryPath + ": " + error.what());
        }
    }
    return ParseForeignLayouts(text, std::filesystem::path(path).stem().string(), desktopEntry);
}
