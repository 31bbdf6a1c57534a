#pragma once
// Replacing a file without ever leaving it half written: the new bytes go to
// a temporary file beside it, flushed to the disk, then renamed over the old
// file. A crash, a full disk or a power cut at any point leaves either the old
// or the new file, whole.
//
// Each write has a temporary file of its own, so two writers of one file never
// spoil each other's; its name carries the writer's process id, so the files
// a killed run left behind are known and removed when the folder is next
// written.

#include <string>
#include <string_view>

// True for the name (not the path) of such a temporary file.
bool IsTemporaryFileName(const std::string& name);

// First step: the bytes in a new temporary file in the folder of `path`. Its
// path, or empty when it could not be written (nothing is left behind then).
std::string WriteTemporaryFile(const std::string& path, std::string_view bytes);

// Second step: the temporary file takes the place of `path`.
bool ReplaceWithTemporaryFile(const std::string& temporary, const std::string& path);

// Removes the temporary files of writers that no longer run from `folder`.
void RemoveLeftoverTemporaryFiles(const std::string& folder);

// Both steps, after the leftovers of `path`'s folder are gone; on failure the
// temporary file is removed and `path` is as it was.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);
