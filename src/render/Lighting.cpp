// Lighting, shading and drop shadows. One directional light turns every visible face
// (flat shading) or every vertex (smooth shading) into a light level 0..255 that later
// indexes a shade ramp; drop shadows halve the image under the z-buffer's spans,
// shifted by the shadow offset.

#include <algorithm>
#include <cmath>

#include "base/Numeric.h"
#include "image/PixelRuns.h"
#include "render/Body.h"
#include "render/ZBuffer.h"

namespace qz {

namespace {

// The level of a surface whose normal N (pointing into the body) makes the cosine
// `cosine` with the light vector: 0 when N points against the light, 254 along it.
// The design's range applies first, HiBright before LoBright (so LoBright prevails
// when the two cross); then the palette bound, since both come from a file and may
// hold anything.
int32_t LightLevel(double cosine, const TRenderParams& params) {
  int32_t level = RoundHalfEven((cosine + 1.0) * 127.0);
  if (level > params.HiBright) level = params.HiBright;
  if (level < params.LoBright) level = params.LoBright;
  return Clamp(level, MinLevel, MaxLevel);
}

// The level of a surface no visible face lights: the design's brightest.
int32_t UnlitLevel(const TRenderParams& params) { return Clamp(params.HiBright, MinLevel, MaxLevel); }

double LightDot(const TRenderParams& params, double x, double y, double z) {
  return params.Light.X * x + params.Light.Y * y + params.Light.Z * z;
}

}  // namespace

void TBody::ShadeFaces(const TRenderParams& params) {
  for (int32_t f = 1; f <= FaceCount(); ++f) {
    TFace& face = faces_[f];
    face.Visible = 0;
    const TScreenPoint s1 = screen_[face.V1], s2 = screen_[face.V2], s4 = screen_[face.V4];
    // Screen rows grow downwards: a face turned to the viewer runs counter-clockwise
    // on screen. Screen coordinates stay within +-ScreenCoordLimit, so the products
    // fit 64 bits.
    const int64_t cross = static_cast<int64_t>(s2.SX - s1.SX) * (s4.SY - s1.SY) -
                          static_cast<int64_t>(s2.SY - s1.SY) * (s4.SX - s1.SX);
    if (cross >= 0) continue;  // turned away: keeps its old level, lights no vertex
    face.Visible = 1;

    TVertex& p1 = vertices_[face.V1];
    const TVertex& p2 = vertices_[face.V2];
    const TVertex& p4 = vertices_[face.V4];
    const float e1x = p2.TX - p1.TX, e1y = p2.TY - p1.TY, e1z = p2.TZ - p1.TZ;
    const float e2x = p4.TX - p1.TX, e2y = p4.TY - p1.TY, e2z = p4.TZ - p1.TZ;
    // N = e2 x e1 points into the body for a visible face.
    const float nx = ToFloat32(static_cast<double>(e2y) * e1z - static_cast<double>(e2z) * e1y);
    const float ny = ToFloat32(static_cast<double>(e2z) * e1x - static_cast<double>(e2x) * e1z);
    const float nz = ToFloat32(static_cast<double>(e2x) * e1y - static_cast<double>(e2y) * e1x);
    const double len = std::sqrt(static_cast<double>(nx) * nx + static_cast<double>(ny) * ny +
                                 static_cast<double>(nz) * nz);
    // A face with no area in camera space (possible only through rounding) has no
    // direction to light: it is lit like a vertex without normals.
    face.Level = len > 0 ? LightLevel(LightDot(params, nx, ny, nz) / len, params) : UnlitLevel(params);

    // Unnormalised, so larger faces weigh more in the vertex normals; a vertex that
    // fills two slots of the face receives the normal twice.
    for (int32_t v : {face.V1, face.V2, face.V3, face.V4}) {
      TVertex& w = vertices_[v];
      w.NX += nx;
      w.NY += ny;
      w.NZ += nz;
    }
  }
}

void TBody::ShadeVertices(const TRenderParams& params) {
  for (int32_t i = 1; i <= VertexCount(); ++i) {
    TVertex& v = vertices_[i];
    const float len = ToFloat32(std::sqrt(static_cast<double>(v.NX) * v.NX + static_cast<double>(v.NY) * v.NY +
                                          static_cast<double>(v.NZ) * v.NZ));
    v.Level = len > 0 ? LightLevel(LightDot(params, v.NX, v.NY, v.NZ) / len, params) : UnlitLevel(params);
  }
}

void TZBuffer::HalveSpan(int32_t x1, int32_t x2, uint32_t* pixels) {
  // Blue, green and red each shifted right by one bit; the fourth byte stays.
  HalvePixels(pixels + x1, static_cast<size_t>(x2 - x1 + 1));
}

void TZBuffer::ShadowSpans(TBitmap& bitmap, int32_t dx, int32_t dy, bool maskMode, int32_t firstRow,
                           int32_t endRow) const {
  if (bitmap.Empty()) return;
  const int32_t w = bitmap.Width(), h = bitmap.Height();
  for (int32_t r = std::max(firstRow, 0), end = std::min(endRow, RowCount()); r < end; ++r) {
    const TSpanEntry* row = RowEntries(r);
    // A shadow beyond an edge of the image lands on that edge. Offsets from absurd
    // altitudes may lie near the ends of the int32 range: shifted in 64 bits.
    uint32_t* pixels = bitmap.ScanLine(static_cast<int32_t>(Clamp<int64_t>(int64_t{r} + dy, 0, h - 1)));
    for (int32_t k = 0; k < counts_[r]; ++k) {
      const TSpanEntry& e = row[k];
      if (!e.Live) continue;
      const int32_t x1 = static_cast<int32_t>(Clamp<int64_t>(int64_t{e.X1} + dx, 0, w - 1));
      const int32_t x2 = static_cast<int32_t>(Clamp<int64_t>(int64_t{e.X2} + dx, 0, w - 1));
      if (x2 < x1) continue;
      if (maskMode)
        FillSpan(x1, x2, pixels, MaskWhite);
      else
        HalveSpan(x1, x2, pixels);
    }
  }
}

}  // namespace qz
