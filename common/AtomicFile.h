#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Replaces the file at path with bytes so that no reader ever sees a partial
// file: the bytes go to a new, uniquely named file in the same folder (created
// exclusively, so no existing file or link is ever opened), are flushed to the
// disk and then renamed over path. On any failure the old file is untouched,
// no temporary file is left, and a NumberedError names the cause.
void WriteFileAtomically(const std::string& path, std::string_view bytes);
void WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);

// Makes the folder and its parents. A failure raises a NumberedError
// "cannot create folder PATH: REASON".
void CreateFolders(const std::string& folder);

// Removes the temporary files that WriteFileAtomically left in folder when
// its process was killed mid-write: its own name pattern only, and only those
// older than a minute, so that a write in progress in another instance is
// never disturbed. Returns how many were removed.
int RemoveStaleTemporaries(const std::string& folder);
