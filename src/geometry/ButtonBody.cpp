#include "geometry/ButtonBody.h"

#include "geometry/ButtonOutline.h"
#include "geometry/ContourOffset.h"
#include "platform/FileUtil.h"
#include "platform/Numeric.h"

namespace qz {

std::optional<std::string> FindShapeFile(const std::string& programDir, const std::string& shapeName) {
  if (shapeName.empty()) return std::nullopt;
  const std::string folder = programDir + "BShapes/";
  if (auto found = FindFileNoCase(folder, shapeName)) return found;
  const std::string bare = BareFileName(shapeName);
  if (bare != shapeName) return FindFileNoCase(folder, bare);
  return std::nullopt;
}

void MakeButtonOutline(TScene& scene) {
  // The letters' extent, widened by the margins plus one unit.
  const TModelExtents e = scene.View.ModelExtents();
  TButtonRect R{Saturate32(int64_t{e.Left} - scene.GutLeft - 1), Saturate32(int64_t{e.Top} + scene.GutTop + 1),
                Saturate32(int64_t{e.Right} + scene.GutRight + 1), Saturate32(int64_t{e.Bottom} - scene.GutBottom - 1)};
  if (scene.HoldButtonSize) {
    R = {scene.ButLeft, scene.ButTop, scene.ButRight, scene.ButBottom};
  } else {
    scene.ButLeft = R.Left;
    scene.ButTop = R.Top;
    scene.ButRight = R.Right;
    scene.ButBottom = R.Bottom;
  }

  scene.PtCount = 0;
  if (IsShapeFileType(scene.Type)) {
    if (scene.ShapeName.empty()) return;
    // A file that is not there leaves the shape of the last build in use.
    if (auto path = FindShapeFile(scene.ProgramDir, scene.ShapeName)) scene.Shape.LoadFromFile(*path);
    scene.Shape.MakeOutline(R, scene.Pts, scene.PtCount);
  } else {
    MakeBuiltInOutline(scene.Type, R, scene.SplPnt, scene.Pts, scene.PtCount);
  }
}

namespace {

TVertex At(TPoint p, int32_t depth) { return TVertex{p.x, depth, p.y}; }

}  // namespace

void MakeButtonBody(TScene& scene) {
  TView3D& view = scene.View;
  // The plane quad covers the letters' extent and the margins (without the extra unit
  // of the outline's rectangle).
  const TModelExtents e = view.ModelExtents();
  const int32_t left = Saturate32(int64_t{e.Left} - scene.GutLeft);
  const int32_t top = Saturate32(int64_t{e.Top} + scene.GutTop);
  const int32_t right = Saturate32(int64_t{e.Right} + scene.GutRight);
  const int32_t bottom = Saturate32(int64_t{e.Bottom} - scene.GutBottom);

  TLetter outline;
  if (scene.PtCount > 0) outline.AddContour(&scene.Pts[1], scene.PtCount);

  const int32_t b = view.AddBody();
  if (b == 0) return;
  TBody& body = view.Body(b);

  const int64_t butW = scene.ButW;
  const int32_t Y0 = Saturate32(-int64_t{scene.ButY});          // the cap plane
  const int32_t Y1 = DivTrunc(-butW * scene.ButY, 100);          // top of the straight wall
  const int32_t skirtDepth = Saturate32(4 * butW);               // outer edge of the skirt
  const int32_t w1 = Saturate32(butW), w2 = Saturate32(2 * butW), w8 = Saturate32(8 * butW);

  if (outline.ContourCount > 0) {
    body.AddContour(&scene.Pts[1], scene.PtCount, scene.ButY);
    if (HasDistinctPoints(outline, 1)) {
      for (int j = 1; j <= scene.PtCount - 1; ++j) {
        const TPoint A = ContourPoint(outline, 1, j);
        int k = j;
        const TPoint B = PrevDistinct(outline, 1, k);
        k = j;
        const TPoint C = NextDistinct(outline, 1, k);
        const TPoint D = NextDistinct(outline, 1, k);
        const TPoint A1 = OffsetVertex(B, A, C, w1), C1 = OffsetVertex(A, C, D, w1);
        const TPoint A2 = OffsetVertex(B, A, C, w2), C2 = OffsetVertex(A, C, D, w2);
        const TPoint A8 = OffsetVertex(B, A, C, w8), C8 = OffsetVertex(A, C, D, w8);
        body.AddFace(At(A, Y0), At(C, Y0), At(C, Y1), At(A, Y1));      // wall
        body.AddFace(At(A, Y1), At(C, Y1), At(C1, 0), At(A1, 0));      // bevel
        body.AddFace(At(A1, 0), At(C1, 0), At(C2, 0), At(A2, 0));      // ring
        body.AddFace(At(A2, 0), At(C2, 0), At(C8, skirtDepth), At(A8, skirtDepth));  // skirt
      }
    }
  }
  body.AddFace(TVertex{left, Y0, top}, TVertex{left, Y0, bottom}, TVertex{right, Y0, bottom},
               TVertex{right, Y0, top});
}

}  // namespace qz
