// The native glyph outline as the glyph reader receives it from the font engine: a
// stream of polygon records (little-endian, no padding), plus the glyph's metrics.
//
//   polygon header  cb (u32: bytes of the polygon, header included), dwType (u32: 24),
//                   pfxStart (two 16.16 values: x, y)
//   curve record    wType (u16: 1 line, 2 quadratic spline), cpfx (u16),
//                   cpfx points of two 16.16 values each
//
// Coordinates are device pixels of the selected font, y up, origin on the baseline at
// the pen position. The implied on-curve mid-points between two spline control points
// are not stored.
//
//   TGlyphMetrics gm;
//   uint32_t size = glyphs.GetGlyphOutline(code, gm, 0, nullptr);   // size query
//   std::vector<uint8_t> block(size);
//   glyphs.GetGlyphOutline(code, gm, size, block.data());             // the records
#pragma once

#include <cstdint>

#include "base/Numeric.h"

namespace qz {

constexpr uint32_t TT_POLYGON_TYPE = 24;
constexpr uint16_t TT_PRIM_LINE = 1;
constexpr uint16_t TT_PRIM_QSPLINE = 2;
constexpr uint32_t PolygonHeaderSize = 16;  // cb, dwType, pfxStart
constexpr uint32_t CurveHeaderSize = 4;     // wType, cpfx
constexpr uint32_t PointFXSize = 8;         // x, y

// What a glyph source returns when it cannot deliver a glyph (all bits set).
constexpr uint32_t GDI_ERROR = 0xFFFFFFFFu;

// A point of the records: two 16.16 values.
struct TPointFX {
  TFixed x;
  TFixed y;
};

// A glyph's metrics, as the glyph reader uses them: its ink box and the pen's advance.
struct TGlyphMetrics {
  uint32_t gmBlackBoxX = 0;  // width of the ink box, pixels
  uint32_t gmBlackBoxY = 0;  // height of the ink box, pixels
  int32_t gmptGlyphOriginX = 0;  // left of the ink box
  int32_t gmptGlyphOriginY = 0;  // top of the ink box
  int16_t gmCellIncX = 0;    // advance of the pen, pixels
  int16_t gmCellIncY = 0;
};

// Something that delivers native outlines for the selected font (the font engine, or a
// stand-in in tests). GetGlyphOutline reads the glyph of an 8-bit code, in font
// pixels, neither scaled nor turned: with bufferSize 0 it returns the size the records
// need; with a buffer at least that large it writes them and returns their size; a
// buffer too small, a missing face or a glyph that cannot be loaded gives GDI_ERROR. A
// blank has size 0. The metrics are filled whenever the result is not GDI_ERROR.
class IGlyphSource {
 public:
  virtual ~IGlyphSource() = default;
  virtual uint32_t GetGlyphOutline(uint8_t code, TGlyphMetrics& metrics, uint32_t bufferSize,
                                   uint8_t* buffer) = 0;
  // The same for glyph index `glyph` of the selected face (a glyph that shaping or a
  // font's character map named); glyph 0 is the face's default glyph.
  virtual uint32_t GetGlyphOutlineOfIndex(uint32_t glyph, TGlyphMetrics& metrics, uint32_t bufferSize,
                                          uint8_t* buffer) = 0;
};

// Little-endian access to the record stream, for reader and writer alike.
inline uint16_t ReadU16LE(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t ReadU32LE(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
inline TPointFX ReadPointFX(const uint8_t* p) {
  return {RawToFixed(static_cast<int32_t>(ReadU32LE(p))), RawToFixed(static_cast<int32_t>(ReadU32LE(p + 4)))};
}
inline void WriteU16LE(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void WriteU32LE(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace qz
