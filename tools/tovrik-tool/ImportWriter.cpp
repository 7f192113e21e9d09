#include "ImportWriter.h"

#include "AtomicFile.h"
#include "FileConv.h"
#include "LayoutImport.h"
#include "NumberedError.h"
#include "QuotedText.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kExtension = ".tvm";

std::string Stem(const std::string& fileName)
{
    return fileName.substr(0, fileName.size() - std::char_traits<char>::length(kExtension));
}

std::runtime_error Failure(const std::string& what, const std::string& path, int error)
{
    return std::runtime_error(what + " " + QuotedPath(path) + ": " + NumberedError::ErrnoReason(error));
}

// A temporary folder that is removed with whatever is left in it.
class StagingFolder {
public:
    explicit StagingFolder(const std::string& folder)
    {
        std::string pattern = (fs::path(folder) / ".tovrik-import-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw Failure("cannot create a temporary folder in", folder, errno);
        path_ = pattern;
    }
    ~StagingFolder()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

} // namespace

ImportWriter::ImportWriter(std::string folder, bool replace) : folder_(std::move(folder)), replace_(replace) {}

std::vector<std::string> ImportWriter::FileNames(const std::vector<ForeignLayout>& layouts,
                                                 const std::string& inputPath,
                                                 const std::string& shippedFolder) const
{
    const std::string fallback = fs::path(inputPath).stem().string();
    std::unordered_set<std::string> taken;
    std::unordered_map<std::string, int> nextNumber;
    std::vector<std::string> names;
    for (const ForeignLayout& layout : layouts) {
        std::string stem = Stem(ImportedFileName(layout.fileStem, fallback));
        std::error_code error;
        if (!shippedFolder.empty() && fs::exists(fs::path(shippedFolder) / (stem + kExtension), error))
            stem += "-imported";
        std::string name = stem + kExtension;
        // Each stem remembers its next number, so many maps of one name cost no more than many of different names.
        for (int& n = nextNumber.try_emplace(stem, 2).first->second; !taken.insert(name).second; ++n)
            name = stem + "-" + std::to_string(n) + kExtension;
        names.push_back(std::move(name));
    }
    return names;
}

std::vector<std::string> ImportWriter::Write(const std::vector<FileConv>& files,
                                             const std::vector<std::string>& names) const
{
    CreateFolders(folder_);
    std::vector<std::string> paths;
    for (const std::string& name : names)
        paths.push_back((fs::path(folder_) / name).string());
    RefuseExisting(paths);
    const StagingFolder staging(folder_);
    for (size_t i = 0; i < files.size(); ++i) {
        try {
            files[i].SaveFile((fs::path(staging.Path()) / names[i]).string());
        } catch (const NumberedError& error) {
            throw std::runtime_error("cannot write " + QuotedPath(paths[i]) + ": " + error.what());
        }
    }
    MoveIntoPlace(staging.Path(), names);
    return paths;
}

// Only a regular file is ever replaced, and only when asked.
void ImportWriter::RefuseExisting(const std::vector<std::string>& paths) const
{
    for (const std::string& path : paths) {
        std::error_code error;
        const fs::file_status status = fs::symlink_status(path, error);
        if (!fs::exists(status))
            continue;
        if (!fs::is_regular_file(status))
            throw Failure("cannot write the layout as", path, fs::is_directory(status) ? EISDIR : EEXIST);
        if (!replace_)
            throw std::runtime_error(QuotedPath(path) + " exists already; --force replaces it");
    }
}

// A move that fails takes back the ones before it, replaced files included,
// so the folder ends as it began.
void ImportWriter::MoveIntoPlace(const std::string& staging, const std::vector<std::string>& names) const
{
    const auto target = [&](size_t i) { return (fs::path(folder_) / names[i]).string(); };
    const auto kept = [&](size_t i) { return (fs::path(staging) / (".old-" + names[i])).string(); };
    std::vector<bool> replaced(names.size(), false);
    const auto takeBack = [&](size_t count) {
        for (size_t k = 0; k < count; ++k)
            ::unlink(target(k).c_str());
        for (size_t k = 0; k < names.size(); ++k)
            if (replaced[k])
                ::rename(kept(k).c_str(), target(k).c_str());
    };
    for (size_t i = 0; i < names.size(); ++i) {
        if (replace_)
            replaced[i] = ::rename(target(i).c_str(), kept(i).c_str()) == 0;
        const std::string from = (fs::path(staging) / names[i]).string();
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, target(i).c_str(), RENAME_NOREPLACE) == 0)
            continue;
        const int error = errno;
        takeBack(i);
        if (error == EEXIST)
            throw std::runtime_error(QuotedPath(target(i)) + " exists already; --force replaces it");
        throw Failure("cannot move the layout into place as", target(i), error);
    }
}

void ImportWriter::RemoveStaleStaging(const std::string& folder)
{
    std::error_code error;
    const auto oldest = fs::file_time_type::clock::now() - std::chrono::minutes(1);
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        std::error_code ignored;
        if (entry->path().filename().string().starts_with(".tovrik-import-") && entry->is_directory(ignored)
            && !entry->is_symlink(ignored) && entry->last_write_time(ignored) < oldest)
            fs::remove_all(entry->path(), ignored);
    }
}
