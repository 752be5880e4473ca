// Reading glyphs into letters: for each character the build selects its font into the
// font engine and calls GetFontOutline, which asks for the native outline, flattens
// its quadratic splines into SplPnt points per segment, stores every closed contour in
// a new letter and advances the pen. Every point is shifted by the pen and widens the
// letters' message box TextMinX..TextMaxY.
//
//   letters.Clear();
//   TGlyphReader reader(letters, params.SplPnt, params.TxtW, messages);
//   for each character: fonts.SelectFont(...); reader.GetFontOutline(fonts, code);
//
// Errors go to the message sink as the designer's message boxes ("ERROR: Cannot get
// Glyph"); the character then has no letter and the build goes on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "geometry/OutlinePoints.h"
#include "text/GlyphRecords.h"
#include "base/Sinks.h"
#include "scene/Letters.h"

namespace qz {

// SplPnt bounded where it counts loops (a work file may hold any number): 0 to 64
// curve steps. The designer offers 1 (" Simple") to 3 (" Complex"); with 0 a glyph's
// curves add no points (a curve is cut short to its next corner) and the round button
// outlines have their fewest points (13 for a rounded rectangle, 25 for an ellipse).
constexpr int32_t MaxSplPnt = 64;
int32_t BoundedSplPnt(int32_t splPnt);

// The size in points at which a character of the message is read: its size in the
// message times 512 div 18 (truncating), so an 18-point character is read at 512 and a
// 12-point one at 341. Saturated for sizes no message control produces.
constexpr int32_t GlyphPointSize(int32_t messageSize) {
  const int64_t size = int64_t{messageSize} * 512 / 18;
  return size > INT32_MAX ? INT32_MAX : size < INT32_MIN ? INT32_MIN : static_cast<int32_t>(size);
}

// An outline block larger than this is refused like a failed size query.
constexpr uint32_t MaxGlyphBlock = 4u << 20;

class TGlyphReader {
 public:
  // Letters go into letters; splPnt (bounded by BoundedSplPnt) sets the curve steps,
  // txtW the room the pen leaves for each letter's bevel on either side.
  TGlyphReader(TLetters& letters, int32_t splPnt, int32_t txtW, IMessageSink& messages);

  // Reads the glyph of code (0..255, meaning per the selected font's charset) from
  // glyphs: adds one letter with its contours and advances PenX by the glyph's advance
  // plus 2 * txtW. On an engine error shows the message, followed by which (the letter,
  // its font and size) in brackets when given, and adds nothing.
  void GetFontOutline(IGlyphSource& glyphs, uint8_t code, const std::string& which = {});

  // The parts of GetFontOutline, for a layout that places glyphs itself. Each adds one
  // letter at (PenX, PenY) and leaves the pen where it is; it gives the glyph's
  // metrics, or nothing when the engine failed (the message shown) or every letter
  // slot is taken (silently). ReadCode reads the glyph of an 8-bit code, ReadGlyph
  // glyph index `glyph` of the selected face, AddBlank a letter without contours
  // with the metrics of the face's default glyph (a character no font has).
  // An engine error is followed by which, as in GetFontOutline.
  std::optional<TGlyphMetrics> ReadCode(IGlyphSource& glyphs, uint8_t code, const std::string& which = {});
  std::optional<TGlyphMetrics> ReadGlyph(IGlyphSource& glyphs, uint32_t glyph, const std::string& which = {});
  std::optional<TGlyphMetrics> AddBlank(IGlyphSource& glyphs, const std::string& which = {});
  // PenX moves on by the glyph's advance plus 2 * txtW (the bevel's room).
  void Advance(const TGlyphMetrics& metrics);
  TLetters& Letters() { return letters_; }
  int32_t TxtW() const { return txtW_; }

  // Parses a native outline block into the contours of the last letter. The block is
  // untrusted: a polygon that does not fit the block, or a record that runs past its
  // polygon, ends the glyph (the contours completed before it stay); a polygon type
  // other than 24 shows "ERROR: Unknown Polygon" and ends the glyph likewise.
  void ParseOutline(const uint8_t* block, size_t size);

  // Appends a point (x + PenX, y + PenY) to Pts and widens the message box; dropped silently
  // when Pts holds 1024 points. AddOutlinePoint converts a 16.16 point with FixedToInt.
  void AddOutlinePoint(TPointFX p);
  void AddIntPoint(int32_t x, int32_t y);

  // Flattens the quadratic segment p0, p1 (control), p2 into steps points at
  // t = 1/steps .. 1, each rounded half to even; p0 itself is not added again.
  void AddSplinePoints(TPointFX p0, TPointFX p1, TPointFX p2, int32_t steps);

  int32_t PenX = 0;       // where the next glyph starts
  int32_t PenY = 0;       // how far a shaped glyph (a mark) stands above the baseline
  TOutlinePoints Pts{};   // the contour being read, used 1-based: Pts[1..PtCount]
  int32_t PtCount = 0;

 private:
  void ParseCurves(const uint8_t* h, uint32_t cb, TPointFX start);
  // Asks the engine for a glyph's records (by code or by index) and reads them into a
  // new letter; the metrics, or nothing after an engine error or with no slot free.
  template <typename TFetch>
  std::optional<TGlyphMetrics> ReadLetter(TFetch fetch, const std::string& which);

  TLetters& letters_;
  int32_t steps_;
  int32_t txtW_;
  IMessageSink& messages_;
};

}  // namespace qz
