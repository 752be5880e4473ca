// Works (.qznr) and templates (.qzpl): INI text with the sections General, Message,
// Button, Render, Light and one "Letter <n>" section per message character. These
// work on an open TIniFile; TScene::SaveToFile / LoadFromFile wrap them with the file.
#pragma once

#include <string>

#include "platform/IniFile.h"

namespace qz {

class TScene;
class TMessageText;

inline constexpr const char* WorkFileVersion = "1.3.5";
// A hostile NLetters must not make a load run for hours: letters beyond this many
// are not read (the message box holds 32; files written by Quenzar never reach it).
inline constexpr int MaxLoadedLetters = 256;

// Writes every key in its order (existing keys replaced in place, nothing deleted).
void SaveSceneToIni(const TScene& scene, TMessageText& text, TIniFile& ini);
// Reads the keys into the scene and rebuilds the message text. Returns false, after
// showing "Invalid file version: <v>" through the scene's message sink, when the
// version is not exactly 1.3.5; the scene and the text are then unchanged.
bool LoadSceneFromIni(TScene& scene, TMessageText& text, const TIniFile& ini);

// What every load of a work, template or factory design is followed by: the light
// vector and shadow offsets recomputed from the loaded angles, and both shade ramps
// rebuilt, so nothing derived from the previous design survives.
void RefreshDerived(TScene& scene);

// Replaces the whole message by text, every character taking the format of the
// message's first character (the default format for an empty message).
void ReplaceMessage(TMessageText& message, const std::string& text);

}  // namespace qz
