// Small file helpers shared by every writer: whole-file reads with a size bound, and
// atomic replacement (write a temporary file in the same folder, then rename) so a
// failed or interrupted save never leaves a half-written file behind.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qz {

// Reads a whole file; nothing when it cannot be opened or exceeds maxBytes.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, size_t maxBytes);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// Calls write(FILE*) on a temporary file next to path and renames it over path when
// write returns true and everything reached the disk. Throws std::runtime_error
// naming the path on failure; the temporary file is removed and the old file kept.
void WriteFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& write);

// The bare file name of a path, accepting both "/" and "\" (a path written on Windows,
// "C:\Buttons\Textures\wood.jpg", gives "wood.jpg").
std::string BareFileName(const std::string& path);

// The path with "/" added when it does not end with one (an empty path stays empty).
std::string WithTrailingSlash(const std::string& path);

// The folder part of a path, with its trailing "/" (empty when there is none).
std::string FolderOf(const std::string& path);

// The extension after the last "." of the bare file name replaced by ext ("."
// included), or ext appended when the name has none: "a.b/shiny.txt" -> "a.b/shiny.gif".
// Save dialogs name the file they write this way ("shiny.txt" saved as shiny.qznr).
std::string ReplaceFileExt(const std::string& path, const std::string& ext);

// Resolves name in folder: the exact name first, then a file whose name matches
// without regard to case. Gives the full path found, or nothing.
std::optional<std::string> FindFileNoCase(const std::string& folder, const std::string& name);

}  // namespace qz
