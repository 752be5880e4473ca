// TBody: one mesh of the 3D button (a letter, or the button itself) with fixed
// capacities: 2048 faces, 4096 vertices, 8 cap contours. Everything is numbered from
// 1; index 0 means no item. Model axes: X right, Y depth away from the viewer, Z up.
//
// The geometry builders fill a body:
//   int v = body.AddVertex({x, y, z});             // shared by exact position; 0 = full
//   body.AddFace({x1, y1, z1}, ..., {x4, y4, z4});  // winding order; a triangle repeats a point
//   body.AddContour(points, n, height);            // cap outline at Y = -height
// The last face added is the cap face: it is never scan-converted; its light level
// and the depth of its first vertex fill the body's cap contours.
//
// The render, once per frame:
//   body.Camera = camera;       // TView3D::SetCamera
//   body.Prepare(params);       // projection, depth keys, shading
//   body.Draw(zbuffer, isButton);
#pragma once

#include <cstdint>
#include <vector>

#include "render/RenderList.h"
#include "render/RenderParams.h"
#include "render/ScreenPoint.h"
#include "render/ZBuffer.h"
#include "scene/Letter.h"

namespace qz {

// Vertex record; callers fill X, Y, Z only, the rest is recomputed every frame.
struct TVertex {
  int32_t X = 0, Y = 0, Z = 0;     // model coordinates
  float TX = 0, TY = 0, TZ = 0;    // camera coordinates
  float NX = 0, NY = 0, NZ = 0;    // sum of the normals of the visible faces using it
  float Dist2 = 0;                 // squared distance from the eye
  int32_t Level = 0;               // light level for smooth shading
};

struct TFace {
  float Key = 0;                         // depth key (the cap face: 0)
  int32_t V1 = 0, V2 = 0, V3 = 0, V4 = 0;  // vertex indices in winding order
  int32_t Visible = 0;                   // 1 when the face turns its front to the viewer
  int32_t Level = 0;                     // light level 0..255
};

// One cap outline: vertex indices 1..Length; a 0 marks a point the vertex limit
// refused, and no edge touching it is filled.
struct TCapContour {
  int32_t Length = 0;
  std::vector<int32_t> Index;  // Index[1..Length]
};

// A vertex that lies at or behind the eye (or within MinEyeDepth of it) is projected
// as if it lay at MinEyeDepth, and screen coordinates are limited to
// +-ScreenCoordLimit: such geometry gets finite, absurdly large extents (which the
// render refuses as too large an image) instead of a division by zero. Both bounds lie
// far outside any picture the program can make, so they never move a drawn vertex.
constexpr float MinEyeDepth = 1.0f;
constexpr int32_t ScreenCoordLimit = 1 << 20;

class TBody {
 public:
  static constexpr int32_t MaxFaces = 2048;
  static constexpr int32_t MaxVertices = 4096;
  static constexpr int32_t MaxContours = 8;

  TBody();

  // Index of the vertex at exactly (X, Y, Z), appended when new; 0 once the body holds
  // MaxVertices, even for a vertex it already has. Found through a hash of the
  // position rather than a linear search: same index, without the quadratic cost.
  int32_t AddVertex(const TVertex& v);
  // Adds a face of four vertices in winding order; nothing when the body holds
  // MaxFaces. A face that loses a vertex to the vertex limit is taken back whole (the
  // vertices it already added stay).
  void AddFace(const TVertex& p1, const TVertex& p2, const TVertex& p3, const TVertex& p4);
  // Adds a cap outline of N points (x, y), each stored as the vertex (x, -Height, y).
  // Nothing when the body has MaxContours. Closed only when the last point repeats
  // the first.
  void AddContour(const TPoint* points, int32_t n, int32_t height);

  // Projects every vertex with Params and this body's Camera; sets MinY and Rows.
  void Project(const TRenderParams& params);
  // Once per frame: projection, face depth keys and AvgKey, face and vertex shading.
  // Nothing for a body without faces.
  void Prepare(const TRenderParams& params);
  // Fills the caps, then scan-converts every visible face (nearest first) into the
  // z-buffer. Needs the Prepare of this frame and a sized z-buffer. A button's cap is
  // made to lose against the button's own faces wherever they overlap.
  void Draw(TZBuffer& zBuffer, bool isButton);

  // Shading (Lighting.cpp), run by Prepare: face visibility, face levels and vertex
  // normal sums; then vertex levels.
  void ShadeFaces(const TRenderParams& params);
  void ShadeVertices(const TRenderParams& params);

  int32_t FaceCount() const { return static_cast<int32_t>(faces_.size()) - 1; }
  int32_t VertexCount() const { return static_cast<int32_t>(vertices_.size()) - 1; }
  int32_t ContourCount() const { return contourCount_; }
  const TFace& Face(int32_t f) const { return faces_[f]; }
  const TVertex& Vertex(int32_t v) const { return vertices_[v]; }
  TScreenPoint Screen(int32_t v) const { return screen_[v]; }
  const TCapContour& Contour(int32_t c) const { return contours_[c]; }
  float AvgKey() const { return avgKey_; }  // mean face key: the body's depth for ordering
  int32_t Rows() const { return rows_; }    // rows the projected body spans
  int32_t MinY() const { return minY_; }    // its smallest screen row

  // Translation, angles and shading type, copied from the design before each frame.
  // A new body has a zero translation and zero angles.
  TCamera Camera;

 private:
  // Scan conversion (BodyRaster.cpp).
  void DrawFace(int32_t f);
  void ScanEdge(TScreenPoint p, TScreenPoint q, int32_t lp, int32_t lq, float dp, float dq);
  void FillCaps(bool isButton);

  std::vector<TFace> faces_;           // faces_[0] unused
  std::vector<TVertex> vertices_;      // vertices_[0] unused
  std::vector<TScreenPoint> screen_;   // parallel to vertices_
  // Open-addressing index of the vertex positions (0 = empty slot). Positions in a
  // body are unique, so it finds the same vertex a linear search from index 1 would.
  static constexpr uint32_t VertexSlots = 2 * 4096;
  std::vector<int32_t> vertexSlots_;
  TCapContour contours_[MaxContours + 1];  // contours_[0] unused
  int32_t contourCount_ = 0;
  TRenderList faceOrder_;
  float avgKey_ = 0;
  int32_t rows_ = 0;
  int32_t minY_ = 0;

  // Set only while Draw runs.
  TZBuffer* zbuffer_ = nullptr;
  TEdgeRecord* edgeTable_ = nullptr;  // indexed by screen row 0..ZBuffer.LastRow
  uint32_t faceMark_ = 0;             // mark of the face being scan-converted
  int32_t edgeMin_ = 0;               // first and last row the face touches
  int32_t edgeMax_ = 0;
};

}  // namespace qz
