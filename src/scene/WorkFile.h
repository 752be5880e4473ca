// Works (.qznr) and templates (.qzpl): INI text with the sections General, Message,
// Button, Render, Light and one "Letter <n>" section per message character: the
// design's parameters and its message. The Ini functions work on an open TIniFile;
// SaveWorkFile and LoadWorkFile wrap them with the file.
//
//   if (LoadWorkFile(path, params, text, messages)) ...;   // a design session then follows its light
//   SaveWorkFile(path, params, text);   // throws when the file cannot be written
#pragma once

#include <string>
#include <string_view>

#include "base/IniFile.h"
#include "base/Sinks.h"
#include "scene/MessageText.h"
#include "scene/Params.h"

namespace qz {

inline constexpr const char* WorkFileVersion = "1.3.5";
// A hostile NLetters must not make a load run for hours: letters beyond this many
// are not read (the message box holds 32; files written by Quenzar never reach it).
inline constexpr int MaxLoadedLetters = 256;

// Writes every key in its order (existing keys replaced in place, nothing deleted).
void SaveDesignToIni(const TParams& params, const TMessageText& text, TIniFile& ini);
// Reads the keys into params and rebuilds the message text. A key the work lacks
// keeps what params held, except the export size, which is 0 x 0 (not stored). Returns false, after
// showing "Invalid file version: <v>" through messages, when the version is not
// exactly 1.3.5; params and text are then unchanged.
bool LoadDesignFromIni(TParams& params, TMessageText& text, const TIniFile& ini, IMessageSink& messages);

// The file as a whole. Saving throws std::runtime_error naming the file when it cannot
// be written; the old file is then left whole. Loading returns false, after showing
// why, when the file is not there or cannot be read ("Cannot open the work PATH:
// ...": a folder, a device or pipe is refused at once) or its version is refused.
void SaveWorkFile(const std::string& fileName, const TParams& params, const TMessageText& text);
bool LoadWorkFile(const std::string& fileName, TParams& params, TMessageText& text, IMessageSink& messages);

// Replaces the whole message by text, every character taking the format of the
// message's first character (the default format for an empty message), its charset
// as typing it would (TypedChar): "Café" keeps the charset, "Привет" takes Cyrillic.
void ReplaceMessage(TMessageText& message, std::u32string_view text);

}  // namespace qz
