// TScene: the one design of the run with its derived data (letters, shade ramps,
// rendered images, the 3D view, the loaded button shape). The main window owns it,
// edits its TParams fields directly and asks it to rebuild or re-render.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "geometry/ButShape.h"
#include "platform/Bitmap.h"
#include "platform/Sinks.h"
#include "render/View3D.h"
#include "scene/Letter.h"
#include "scene/Params.h"

namespace qz {

class TMessageText;

class TScene : public TParams {
 public:
  static constexpr int MaxPoints = 1024;   // outline work buffer
  static constexpr int MaxLetters = 33;    // letter slots (a build fills at most 32)
  static constexpr int MaxBuiltChars = 32; // characters of the message that are built

  TScene();
  ~TScene();
  TScene(const TScene&) = delete;
  TScene& operator=(const TScene&) = delete;

  // Outline work buffer, used 1-based: Pts[1..PtCount].
  std::array<TPoint, MaxPoints + 1> Pts{};
  int32_t PtCount = 0;
  int32_t PenX = 0;

  TBitmap Image;  // render target
  TBitmap Mask;   // second render surface of the same size, when asked for

  // Letters of the current build, 1-based: Letter(1..LetterCount).
  int32_t LetterCount = 0;
  TLetter& Letter(int i) { return *Letters[i]; }
  const TLetter& Letter(int i) const { return *Letters[i]; }

  // Bounding box of every glyph point read since ClearLetters.
  int32_t TextMinX = 65535, TextMaxX = -65535, TextMinY = 65535, TextMaxY = -65535;

  // Shade ramps, 256 ramp pixels each (red in bits 16..23).
  std::array<uint32_t, 256> ButtonPalette{};
  std::array<uint32_t, 256> TextPalette{};

  // The 3D view: the bodies of letters and button, the z-buffer, the textures.
  TView3D View;
  TButShape Shape;  // the button shape last loaded from a shape file

  std::string ProgramDir;  // the program's folder with its trailing "/"

  // Where messages and progress go; never null (null sinks by default).
  IMessageSink* Messages;
  IProgressSink* Progress;

  // Stores the light angles and recomputes the light vector and the shadow offsets.
  void SetLightAngles(float a1, float a2);
  // Stores a colour record (which 0: button, else text) and rebuilds that ramp.
  void SetColors(TColor dark, TColor middle, TColor bright, int32_t split, int which);
  // Rebuilds ButtonPalette (which 0) or TextPalette from its colours and Light.Color.
  void BuildRamp(int which);
  // Adds an empty letter in the next slot; does nothing when all 33 are used.
  void AddLetter();
  void ClearLetters();
  static int CountNonBlank(const std::string& text);

  // Work and template files (WorkFile.cpp). Saving throws std::runtime_error naming
  // the file when it cannot be written; the old file is then left whole.
  void SaveToFile(const std::string& fileName, TMessageText& text);
  // Loading returns false when the version was refused (after showing the message).
  bool LoadFromFile(const std::string& fileName, TMessageText& text);

 private:
  std::array<std::unique_ptr<TLetter>, MaxLetters + 1> Letters;
  TNullMessageSink nullMessages_;
  TNullProgressSink nullProgress_;
};

}  // namespace qz
