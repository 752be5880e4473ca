#include "geometry/GlyphOutline.h"

#include <algorithm>
#include <vector>

#include "base/Numeric.h"

namespace qz {

namespace {

// A spline segment is never cut into more steps than the outline buffer holds points.
constexpr int32_t MaxSplineSteps = MaxOutlinePoints;

// Whether every curve record of the polygon at h (cb bytes) lies inside it.
bool RecordsFit(const uint8_t* h, uint32_t cb) {
  uint64_t rec = PolygonHeaderSize;
  while (rec < cb) {
    if (cb - rec < CurveHeaderSize) return false;
    const uint16_t cpfx = ReadU16LE(h + rec + 2);
    rec += CurveHeaderSize + uint64_t{PointFXSize} * cpfx;
    if (rec > cb) return false;
  }
  return true;
}

}  // namespace

int32_t BoundedSplPnt(int32_t splPnt) { return Clamp(splPnt, 0, MaxSplPnt); }

TGlyphReader::TGlyphReader(TLetters& letters, int32_t splPnt, int32_t txtW, IMessageSink& messages)
    : letters_(letters), steps_(BoundedSplPnt(splPnt)), txtW_(txtW), messages_(messages) {}

void TGlyphReader::AddIntPoint(int32_t x, int32_t y) {
  if (PtCount >= MaxOutlinePoints) return;
  const TPoint p{Saturate32(int64_t{x} + PenX), Saturate32(int64_t{y} + PenY)};
  Pts[++PtCount] = p;
  letters_.Widen(p.x, p.y);
}

void TGlyphReader::AddOutlinePoint(TPointFX p) { AddIntPoint(FixedToInt(p.x), FixedToInt(p.y)); }

void TGlyphReader::AddSplinePoints(TPointFX p0, TPointFX p1, TPointFX p2, int32_t steps) {
  const int32_t n = std::min(steps, MaxSplineSteps);
  const long double x0 = FixedToDouble(p0.x), x1 = FixedToDouble(p1.x), x2 = FixedToDouble(p2.x);
  const long double y0 = FixedToDouble(p0.y), y1 = FixedToDouble(p1.y), y2 = FixedToDouble(p2.y);
  // The segment as a polynomial a t^2 + b t + c.
  const long double ax = x0 - 2 * x1 + x2, bx = 2 * (x1 - x0);
  const long double ay = y0 - 2 * y1 + y2, by = 2 * (y1 - y0);
  for (int32_t i = 1; i <= n; ++i) {
    const long double t = static_cast<long double>(i) / n;
    AddIntPoint(RoundHalfEven(ax * (t * t) + bx * t + x0), RoundHalfEven(ay * (t * t) + by * t + y0));
  }
}

void TGlyphReader::ParseCurves(const uint8_t* h, uint32_t cb, TPointFX start) {
  TPointFX last = start;  // the point stored just before the current record
  uint32_t rec = PolygonHeaderSize;
  while (rec < cb) {
    const uint16_t type = ReadU16LE(h + rec);
    const uint16_t cpfx = ReadU16LE(h + rec + 2);
    const uint8_t* apfx = h + rec + CurveHeaderSize;
    if (type == TT_PRIM_LINE) {
      for (int i = 0; i < cpfx; ++i) {
        last = ReadPointFX(apfx + PointFXSize * i);
        AddOutlinePoint(last);
      }
    } else if (type == TT_PRIM_QSPLINE) {
      // Between two control points lies an implied on-curve point, their mid-point.
      for (int i = 0; i + 2 <= cpfx; ++i) {
        const TPointFX control = ReadPointFX(apfx + PointFXSize * i);
        const TPointFX next = ReadPointFX(apfx + PointFXSize * (i + 1));
        const TPointFX end = i == cpfx - 2 ? next : TPointFX{FixedMid(control.x, next.x), FixedMid(control.y, next.y)};
        AddSplinePoints(last, control, end, steps_);
        last = end;
      }
    }
    rec += CurveHeaderSize + PointFXSize * cpfx;
  }
}

void TGlyphReader::ParseOutline(const uint8_t* block, size_t size) {
  size_t pos = 0;
  while (pos < size) {
    if (size - pos < PolygonHeaderSize) return;  // a torn header ends the glyph
    const uint8_t* h = block + pos;
    if (ReadU32LE(h + 4) != TT_POLYGON_TYPE) {
      messages_.ShowMessage("ERROR: Unknown Polygon");
      return;
    }
    const uint32_t cb = ReadU32LE(h);
    // A polygon shorter than its header (cb 0 would never advance) or longer than the
    // rest of the block, or a record running past the polygon, ends the glyph before
    // any of its points reaches the buffer or the message box.
    if (cb < PolygonHeaderSize || cb > size - pos || !RecordsFit(h, cb)) return;

    PtCount = 0;
    const TPointFX start = ReadPointFX(h + 8);
    AddOutlinePoint(start);
    ParseCurves(h, cb, start);
    AddOutlinePoint(start);  // closes the contour
    if (letters_.Count() >= 1) letters_.Last().AddContour(&Pts[1], PtCount);
    pos += cb;
  }
}

namespace {

// How an engine error names the glyph it was reading: which, in brackets, when given.
std::string About(const std::string& which) { return which.empty() ? "" : " (" + which + ")"; }

}  // namespace

template <typename TFetch>
std::optional<TGlyphMetrics> TGlyphReader::ReadLetter(TFetch fetch, const std::string& which) {
  if (letters_.Full()) return std::nullopt;
  TGlyphMetrics metrics;
  const uint32_t size = fetch(metrics, 0, nullptr);
  if (size == GDI_ERROR || size > MaxGlyphBlock) {
    messages_.ShowMessage("ERROR: Cannot obtain Size of the Glyph" + About(which));
    return std::nullopt;
  }
  std::vector<uint8_t> block(size, 0);
  if (fetch(metrics, size, block.data()) != size) {
    messages_.ShowMessage("ERROR: Cannot get Glyph" + About(which));
    return std::nullopt;
  }
  letters_.Add();
  ParseOutline(block.data(), block.size());
  return metrics;
}

void TGlyphReader::Advance(const TGlyphMetrics& metrics) {
  PenX = Saturate32(int64_t{PenX} + metrics.gmCellIncX + 2 * int64_t{txtW_});
}

std::optional<TGlyphMetrics> TGlyphReader::ReadCode(IGlyphSource& glyphs, uint8_t code, const std::string& which) {
  return ReadLetter(
      [&](TGlyphMetrics& m, uint32_t size, uint8_t* block) { return glyphs.GetGlyphOutline(code, m, size, block); },
      which);
}

std::optional<TGlyphMetrics> TGlyphReader::ReadGlyph(IGlyphSource& glyphs, uint32_t glyph, const std::string& which) {
  return ReadLetter(
      [&](TGlyphMetrics& m, uint32_t size, uint8_t* block) {
        return glyphs.GetGlyphOutlineOfIndex(glyph, m, size, block);
      },
      which);
}

std::optional<TGlyphMetrics> TGlyphReader::AddBlank(IGlyphSource& glyphs, const std::string& which) {
  if (letters_.Full()) return std::nullopt;
  TGlyphMetrics metrics;
  if (glyphs.GetGlyphOutlineOfIndex(0, metrics, 0, nullptr) == GDI_ERROR) {
    messages_.ShowMessage("ERROR: Cannot obtain Size of the Glyph" + About(which));
    return std::nullopt;
  }
  letters_.Add();
  return metrics;
}

void TGlyphReader::GetFontOutline(IGlyphSource& glyphs, uint8_t code, const std::string& which) {
  if (const auto metrics = ReadCode(glyphs, code, which)) Advance(*metrics);
}

}  // namespace qz
