// Test helpers for native outline record streams: a builder for hand-made (and
// deliberately broken) blocks, and a decoder that reads a well-formed stream back.
#pragma once

#include <cstdint>
#include <vector>

#include "text/GlyphRecords.h"

namespace qz::test {

// A 16.16 point from raw 32-bit values (value * 65536).
inline TPointFX FX(int32_t rawX, int32_t rawY) { return {RawToFixed(rawX), RawToFixed(rawY)}; }
// A 16.16 point from whole pixels.
inline TPointFX FXi(int32_t x, int32_t y) { return FX(x * 65536, y * 65536); }

class TRecordBuilder {
 public:
  // Starts a polygon; its cb is filled in by the next Polygon or by Bytes().
  TRecordBuilder& Polygon(TPointFX start, uint32_t type = TT_POLYGON_TYPE) {
    Close();
    open_ = bytes_.size();
    bytes_.resize(open_ + PolygonHeaderSize);
    WriteU32LE(bytes_.data() + open_ + 4, type);
    PutPoint(open_ + 8, start);
    return *this;
  }
  TRecordBuilder& Curve(uint16_t type, const std::vector<TPointFX>& points) {
    const size_t at = bytes_.size();
    bytes_.resize(at + CurveHeaderSize);
    WriteU16LE(bytes_.data() + at, type);
    WriteU16LE(bytes_.data() + at + 2, static_cast<uint16_t>(points.size()));
    for (const TPointFX& p : points) {
      const size_t q = bytes_.size();
      bytes_.resize(q + PointFXSize);
      PutPoint(q, p);
    }
    return *this;
  }
  TRecordBuilder& Line(const std::vector<TPointFX>& points) { return Curve(TT_PRIM_LINE, points); }
  TRecordBuilder& Spline(const std::vector<TPointFX>& points) { return Curve(TT_PRIM_QSPLINE, points); }
  // Appends raw bytes to the open polygon (a torn record, say).
  TRecordBuilder& Raw(const std::vector<uint8_t>& raw) {
    bytes_.insert(bytes_.end(), raw.begin(), raw.end());
    return *this;
  }
  std::vector<uint8_t> Bytes() {
    Close();
    return bytes_;
  }

 private:
  void Close() {
    if (open_ != npos) WriteU32LE(bytes_.data() + open_, static_cast<uint32_t>(bytes_.size() - open_));
    open_ = npos;
  }
  void PutPoint(size_t at, TPointFX p) {
    WriteU32LE(bytes_.data() + at, static_cast<uint32_t>(FixedToRaw(p.x)));
    WriteU32LE(bytes_.data() + at + 4, static_cast<uint32_t>(FixedToRaw(p.y)));
  }
  static constexpr size_t npos = static_cast<size_t>(-1);
  std::vector<uint8_t> bytes_;
  size_t open_ = npos;
};

// A decoded stream: raw 16.16 values (value * 65536).
struct TRawPoint {
  int32_t x = 0, y = 0;
  bool operator==(const TRawPoint&) const = default;
};
struct TDecodedCurve {
  uint16_t Type = 0;
  std::vector<TRawPoint> Points;
};
struct TDecodedPolygon {
  uint32_t Cb = 0;
  uint32_t Type = 0;
  TRawPoint Start;
  std::vector<TDecodedCurve> Curves;
};

// Decodes a well-formed stream; ok is false when a size does not add up.
inline std::vector<TDecodedPolygon> DecodeRecords(const std::vector<uint8_t>& b, bool& ok) {
  std::vector<TDecodedPolygon> polygons;
  ok = true;
  size_t pos = 0;
  auto raw = [&](size_t at) { return TRawPoint{static_cast<int32_t>(ReadU32LE(&b[at])), static_cast<int32_t>(ReadU32LE(&b[at + 4]))}; };
  while (pos < b.size()) {
    if (b.size() - pos < PolygonHeaderSize) return ok = false, polygons;
    TDecodedPolygon p;
    p.Cb = ReadU32LE(&b[pos]);
    p.Type = ReadU32LE(&b[pos + 4]);
    p.Start = raw(pos + 8);
    if (p.Cb < PolygonHeaderSize || p.Cb > b.size() - pos) return ok = false, polygons;
    size_t rec = pos + PolygonHeaderSize;
    while (rec < pos + p.Cb) {
      TDecodedCurve c;
      c.Type = ReadU16LE(&b[rec]);
      const uint16_t n = ReadU16LE(&b[rec + 2]);
      if (rec + CurveHeaderSize + PointFXSize * n > pos + p.Cb) return ok = false, polygons;
      for (int i = 0; i < n; ++i) c.Points.push_back(raw(rec + CurveHeaderSize + PointFXSize * i));
      rec += CurveHeaderSize + PointFXSize * n;
      p.Curves.push_back(std::move(c));
    }
    pos += p.Cb;
    polygons.push_back(std::move(p));
  }
  return polygons;
}

}  // namespace qz::test
