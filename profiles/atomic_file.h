#pragma once
// Replacing a file without ever leaving it half written: the new bytes go to
// a temporary file beside it, flushed to the disk, then renamed over the old
// file. A crash, a full disk or a power cut at any point leaves either the old
// or the new file, whole.

#include <string>
#include <string_view>

// The temporary file used for `path`: same folder, so the rename is atomic.
std::string TemporaryPathFor(const std::string& path);

// First step: the bytes in TemporaryPathFor(path).
bool WriteTemporaryFile(const std::string& path, std::string_view bytes);

// Second step: the temporary file takes the place of `path`.
bool ReplaceWithTemporaryFile(const std::string& path);

// Both steps; on failure the temporary file is removed and `path` is as it was.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);
