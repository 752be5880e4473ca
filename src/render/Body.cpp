#include "render/Body.h"

#include <algorithm>
#include <cstdint>

#include "base/Numeric.h"

namespace qz {

TBody::TBody() {
  // The fixed capacity is reserved once with the body (a build creates every body
  // anew): adding never reallocates, and nothing is touched before it is used.
  faces_.reserve(MaxFaces + 1);
  vertices_.reserve(MaxVertices + 1);
  screen_.reserve(MaxVertices + 1);
  vertexSlots_.assign(VertexSlots, 0);
  faces_.emplace_back();
  vertices_.emplace_back();
  screen_.emplace_back();
}

namespace {

uint32_t PositionHash(int32_t x, int32_t y, int32_t z) {
  uint64_t h = static_cast<uint32_t>(x) * 0x9E3779B97F4A7C15ull;
  h ^= static_cast<uint32_t>(y) * 0xC2B2AE3D27D4EB4Full + (h >> 29);
  h ^= static_cast<uint32_t>(z) * 0x165667B19E3779F9ull + (h >> 32);
  return static_cast<uint32_t>(h ^ (h >> 31));
}

}  // namespace

int32_t TBody::AddVertex(const TVertex& v) {
  static_assert(VertexSlots >= 2 * MaxVertices && (VertexSlots & (VertexSlots - 1)) == 0);
  const int32_t count = VertexCount();
  if (count >= MaxVertices) return 0;
  // At most half the slots are ever used, so the probe always ends at an empty one.
  uint32_t slot = PositionHash(v.X, v.Y, v.Z) & (VertexSlots - 1);
  for (; vertexSlots_[slot] != 0; slot = (slot + 1) & (VertexSlots - 1)) {
    const TVertex& w = vertices_[vertexSlots_[slot]];
    if (w.X == v.X && w.Y == v.Y && w.Z == v.Z) return vertexSlots_[slot];
  }
  vertexSlots_[slot] = count + 1;
  TVertex added;
  added.X = v.X;
  added.Y = v.Y;
  added.Z = v.Z;
  vertices_.push_back(added);
  screen_.emplace_back();
  return count + 1;
}

void TBody::AddFace(const TVertex& p1, const TVertex& p2, const TVertex& p3, const TVertex& p4) {
  if (FaceCount() >= MaxFaces) return;
  TFace face;
  face.V1 = AddVertex(p1);
  face.V2 = AddVertex(p2);
  face.V3 = AddVertex(p3);
  face.V4 = AddVertex(p4);
  if (face.V1 == 0 || face.V2 == 0 || face.V3 == 0 || face.V4 == 0) return;
  faces_.push_back(face);
}

void TBody::AddContour(const TPoint* points, int32_t n, int32_t height) {
  if (contourCount_ >= MaxContours || n < 0) return;
  TCapContour& c = contours_[++contourCount_];
  c.Length = n;
  c.Index.assign(static_cast<size_t>(n) + 1, 0);
  for (int32_t j = 1; j <= n; ++j) {
    TVertex v;
    v.X = points[j - 1].x;
    v.Y = static_cast<int32_t>(Clamp<int64_t>(-int64_t{height}, INT32_MIN, INT32_MAX));  // -INT32_MIN does not fit
    v.Z = points[j - 1].y;
    c.Index[j] = AddVertex(v);  // 0 when the vertex limit refuses the point
  }
}

void TBody::Project(const TRenderParams& params) {
  int32_t minY = 65536, maxY = -65536;
  const double cnX = params.CnX, cnZ = params.CnZ;
  for (int32_t i = 1; i <= VertexCount(); ++i) {
    TVertex& v = vertices_[i];
    v.TX = ToFloat32(static_cast<double>(v.X) + Camera.Render.X);
    v.TY = ToFloat32(static_cast<double>(v.Y) + Camera.Render.Y);
    v.TZ = ToFloat32(static_cast<double>(v.Z) + Camera.Render.Z);
    v.Dist2 = ToFloat32(static_cast<double>(v.TY) * v.TY + static_cast<double>(v.TX) * v.TX +
                        static_cast<double>(v.TZ) * v.TZ);
    v.NX = v.NY = v.NZ = 0;
    // The eye looks along +Y; geometry at or behind it is pushed out to MinEyeDepth.
    const double depth = std::max(v.TY, MinEyeDepth);
    TScreenPoint& s = screen_[i];
    s.SX = Clamp(RoundHalfEven(cnX * v.TX / depth + params.CenterX), -ScreenCoordLimit, ScreenCoordLimit);
    s.SY = Clamp(RoundHalfEven(params.CenterY - cnZ * v.TZ / depth), -ScreenCoordLimit, ScreenCoordLimit);
    minY = std::min(minY, s.SY);
    maxY = std::max(maxY, s.SY);
  }
  minY_ = minY;
  rows_ = maxY - minY + 1;
}

void TBody::Prepare(const TRenderParams& params) {
  const int32_t faceCount = FaceCount();
  if (faceCount == 0) return;
  Project(params);
  // A face's key is its nearest vertex; the cap face gets 0, which also keeps it out
  // of the polygon pass.
  double sum = 0;
  for (int32_t f = 1; f <= faceCount; ++f) {
    TFace& face = faces_[f];
    if (f == faceCount) {
      face.Key = 0;
    } else {
      face.Key = std::min({vertices_[face.V1].Dist2, vertices_[face.V2].Dist2, vertices_[face.V3].Dist2,
                           vertices_[face.V4].Dist2});
    }
    sum += face.Key;
  }
  avgKey_ = ToFloat32(sum / faceCount);
  ShadeFaces(params);
  ShadeVertices(params);
}

void TBody::Draw(TZBuffer& zBuffer, bool isButton) {
  // Without faces there is no cap face to take the caps' level and depth from, and
  // Prepare has not projected the body: nothing to draw.
  if (FaceCount() == 0 || zBuffer.RowCount() < 1) return;
  faceOrder_.Clear();
  for (int32_t f = 1; f <= FaceCount(); ++f) faceOrder_.Add(f, faces_[f].Key);
  faceOrder_.Sort();

  zbuffer_ = &zBuffer;
  edgeTable_ = zBuffer.EdgeTable();
  FillCaps(isButton);
  for (int32_t i = 1; i <= faceOrder_.Count(); ++i) {
    const int32_t f = faceOrder_.Item(i).Index;
    if (faces_[f].Visible && faces_[f].Key > 0) DrawFace(f);
  }
  edgeTable_ = nullptr;
  zbuffer_ = nullptr;
}

}  // namespace qz
