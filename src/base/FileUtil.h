// Small file helpers: whole-file reads with a size bound, file and folder tests, and
// the names in paths. (Writing files all or nothing is OutputFiles.h.)
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qz {

// Reads a whole file; nothing when it cannot be, with the reason in why when asked:
// "the file does not exist", "it is a folder", "it is not a regular file (...)" (a
// device, pipe or socket is refused at once, never waited on), "it is larger than N
// bytes", or the system's reason.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, size_t maxBytes, std::string* why = nullptr);
inline constexpr const char* MissingFile = "the file does not exist";

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

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
