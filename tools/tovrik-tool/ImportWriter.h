#pragma once

#include <string>
#include <vector>

class FileConv;
struct ForeignLayout;

// Writes the layouts of one import all or nothing: every file goes into a
// temporary folder beside the destination first, and only when all are
// written are they moved into place. An existing file of the same name is
// refused unless replacing is asked for; a failure names its cause and leaves
// the destination as it was.
class ImportWriter {
public:
    ImportWriter(std::string folder, bool replace);

    // Unique file names in the folder for the layouts, made from their names in
    // one pass. Into the player's own folder (shippedFolder not empty), a name
    // that a shipped layout has gets "-imported", so it never hides that layout.
    std::vector<std::string> FileNames(const std::vector<ForeignLayout>& layouts, const std::string& inputPath,
                                       const std::string& shippedFolder) const;

    // Writes files[i] as names[i] in the folder; returns the paths written.
    std::vector<std::string> Write(const std::vector<FileConv>& files, const std::vector<std::string>& names) const;

    // Removes the temporary folders that a killed import left in folder (older than a minute).
    static void RemoveStaleStaging(const std::string& folder);

private:
    void RefuseExisting(const std::vector<std::string>& paths) const;
    void MoveIntoPlace(const std::string& staging, const std::vector<std::string>& names) const;

    std::string folder_;
    bool replace_;
};
