// TZBuffer: the per-row span buffer. There is no depth per pixel: every image row
// keeps a list of horizontal spans, each with one constant depth and a light level at
// either end. A span inserted into a row is depth-tested against the spans already
// there and the hidden parts are cut away, so the live spans of a row never overlap.
// Flushing draws the live spans into a 32-bit image through a 256-entry palette, as a
// gradient between the two end levels, or textured.
//
//   zb.SetSize(image.Height(), image.Width());      // also clears
//   zb.InsertSpan(row, x1, x2, levelA, levelB, depth); // smaller depth is nearer
//   zb.ShadowSpans(image, dx, dy, false);            // before the flush: bodies cover it
//   zb.Flush(image, palette, false);
//
// Limits act by silently dropping work: at most 512 entries per row, counting dead
// ones, until the next Clear; rows outside the buffer are skipped, columns clipped.
// The buffer also lends per-row scratch storage to the scan conversion of bodies
// (the edge table and the cap filler), so nothing is allocated per frame.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "image/Bitmap.h"
#include "render/FontView.h"

namespace qz {

// A shade ramp: 256 pixels indexed by light level.
using TPalette = std::array<uint32_t, 256>;

// Light levels index a palette, so every level that reaches a span lies in 0..255.
constexpr int32_t MinLevel = 0;
constexpr int32_t MaxLevel = 255;

// The colour the mask is drawn with: all three channels 255.
constexpr uint32_t MaskWhite = 0x00FFFFFF;

// One entry of a row: the span X1..X2 (inclusive) at one depth, light levels A at X1
// and B at X2. A trimmed or split span keeps the A and B it was inserted with.
struct TSpanEntry {
  int16_t X1;
  int16_t X2;
  uint16_t A;
  uint16_t B;
  float Depth;   // smaller is nearer
  int16_t Live;  // 1 while visible, 0 once wholly hidden (the entry stays until Clear)
};

// Scratch record of one image row while a face is scan-converted: what the edges
// running down (left side) and up (right side) the screen left on that row. A side
// counts for the face being drawn only when its mark is that face's mark.
struct TEdgeRecord {
  int32_t LeftX, RightX;
  int32_t LeftLevel, RightLevel;
  float LeftDepth, RightDepth;
  uint32_t LeftMark, RightMark;
};

class TZBuffer {
 public:
  static constexpr int32_t MaxEntries = 512;  // entries per row, dead ones included
  // Columns are stored in 16 bits: an image is at most this wide and high.
  static constexpr int32_t MaxSide = 32767;
  // Threads that may flush at once, each in a lane of its own.
  static constexpr int Lanes = 2;

  // Ignored unless both are at least 1; sizes above MaxSide are limited to it (the
  // render refuses such images before they get here). Sets the width and, when the
  // number of rows changes, reallocates the rows; then clears.
  void SetSize(int32_t rows, int32_t width);
  // Empties every row and switches texturing off.
  void Clear();
  // The next flush draws textured from bitmap (not owned; it must outlive the flush).
  void SetTexture(const TBitmap& bitmap);

  // Depth-tested insertion of the span X1..X2 into Row; the earlier span wins a tie.
  // Columns are clipped to the buffer without changing A and B; levels are bounded
  // to MinLevel..MaxLevel.
  void InsertSpan(int32_t row, int32_t x1, int32_t x2, int32_t a, int32_t b, float depth);

  // Draws every live span: white in mask mode, else through palette (or textured).
  // The bitmap must be at least as large as the buffer; a smaller one is left alone.
  void Flush(TBitmap& bitmap, const TPalette& palette, bool maskMode) {
    Flush(bitmap, palette, maskMode, 0, RowCount(), 0);
  }
  // The same for rows firstRow..endRow-1 only, with the texture shades of lane (0 or 1):
  // two threads, each with its own lane, may flush disjoint rows at once.
  void Flush(TBitmap& bitmap, const TPalette& palette, bool maskMode, int32_t firstRow, int32_t endRow, int lane);

  // Span drawing into one row of pixels; callers ensure 0 <= X1 <= X2 < width.
  static void FillSpan(int32_t x1, int32_t x2, uint32_t* pixels, uint32_t color);
  // palette[a] to palette[b] in fixed point with 10 fractional bits.
  static void GradientSpan(int32_t x1, int32_t x2, uint32_t* pixels, const TPalette& palette, int32_t a,
                           int32_t b);

  // Drop shadows (Lighting.cpp): every live span, shifted by (dx, dy), darkens the
  // image under it (halves each channel), or is drawn white into a mask.
  // Each shifted span is limited to the bitmap (a span beyond an edge lands on the edge).
  void ShadowSpans(TBitmap& bitmap, int32_t dx, int32_t dy, bool maskMode) const {
    ShadowSpans(bitmap, dx, dy, maskMode, 0, RowCount());
  }
  // The shadow of the spans of rows firstRow..endRow-1 only (they land dy rows away).
  void ShadowSpans(TBitmap& bitmap, int32_t dx, int32_t dy, bool maskMode, int32_t firstRow, int32_t endRow) const;
  static void HalveSpan(int32_t x1, int32_t x2, uint32_t* pixels);

  int32_t LastRow() const { return lastRow_; }  // rows - 1; -1 before the first SetSize
  int32_t MaxX() const { return maxX_; }        // width - 1
  int32_t RowCount() const { return lastRow_ + 1; }
  // Entries of a row, live and dead, k = 1..Count(Row).
  int32_t Count(int32_t row) const { return counts_[row]; }
  const TSpanEntry& Entry(int32_t row, int32_t k) const { return RowEntries(row)[k - 1]; }

  // Settings of the next flush.
  bool Textured = false;
  const TBitmap* Texture = nullptr;  // not owned
  TColor Tint = 0xFFFFFF;            // light colour applied to textures
  int32_t MidLevel = 204;            // level at which a texture shows its own colours

  // Scan-conversion scratch lent to bodies: one edge record per row, and the cap
  // filler with one row per buffer row. NextFaceMark gives each face a fresh mark,
  // so the edge table never has to be zeroed between faces.
  TEdgeRecord* EdgeTable() { return edgeTable_.data(); }
  uint32_t NextFaceMark();
  TFontView& CapFiller() { return capFiller_; }

 private:
  TSpanEntry* RowEntries(int32_t row) { return entries_.get() + static_cast<size_t>(row) * MaxEntries; }
  const TSpanEntry* RowEntries(int32_t row) const {
    return entries_.get() + static_cast<size_t>(row) * MaxEntries;
  }
  void AppendSpan(int32_t row, int32_t x1, int32_t x2, int32_t a, int32_t b, float depth);
  // Entry k of Row after its columns or its life changed: its extent follows.
  void Track(int32_t row, int32_t k);
  // The first entry of Row from k on, before end, whose extent meets X1..X2; end when none.
  int32_t NextMeeting(int32_t row, int32_t k, int32_t end, int32_t x1, int32_t x2) const;
  void DrawSpan(int32_t row, int32_t x1, int32_t x2, int32_t a, int32_t b, const TPalette& palette,
                TBitmap& bitmap, int lane);
  // The textured span (Texture.cpp), with the shades of lane.
  void TexturedSpan(int32_t row, int32_t x1, int32_t x2, int32_t a, int32_t b, TBitmap& bitmap, int lane);

  int32_t lastRow_ = -1;
  int32_t maxX_ = -1;
  std::vector<int32_t> counts_;           // entries used per row
  std::unique_ptr<TSpanEntry[]> entries_;  // MaxEntries per row, allocated per height
  // Every entry's columns once more, the lefts and the rights each in an array of
  // their own (a dead entry's as 32767 and -32768, meeting nothing), so an insertion
  // looks for the entries it meets eight at a time. A row of a long message holds
  // hundreds of narrow spans of letters' faces, nearly all of them elsewhere in the row.
  std::unique_ptr<int16_t[]> lefts_;
  std::unique_ptr<int16_t[]> rights_;
  std::vector<TEdgeRecord> edgeTable_;
  uint32_t faceMark_ = 0;
  TFontView capFiller_;

  // Texture shading (Texture.cpp): for each light level, what every channel value
  // 0..255 becomes, lit at that level and then tinted with the light colour, already
  // in its place in a pixel (red, green, blue: 256 entries each), so that a texel
  // becomes a pixel through three table reads. A level's table is made on its first
  // use; all follow MidLevel and Tint.
  struct TTextureShades {
    static constexpr size_t TableSize = 3 * 256;
    int32_t Mid = -1;
    TColor Tint = -1;
    std::array<bool, 256> Made{};
    std::unique_ptr<uint32_t[]> Tables{new uint32_t[256 * TableSize]};
  };
  // The shade table of a level for the neutral level m, made on first use.
  static const uint32_t* ShadeTable(TTextureShades& shades, int32_t level, int32_t m, TColor tint);
  std::array<std::unique_ptr<TTextureShades>, Lanes> shades_;  // one set a lane
};

}  // namespace qz
