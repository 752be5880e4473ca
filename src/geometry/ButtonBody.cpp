#include "geometry/ButtonBody.h"

#include <stdexcept>

#include "geometry/ButtonOutline.h"
#include "geometry/ContourOffset.h"
#include "base/FileUtil.h"
#include "base/Numeric.h"

namespace qz {

bool IsBareShapeName(const std::string& shapeName) {
  return shapeName.find_first_of("/\\") == std::string::npos && shapeName != "." && shapeName != "..";
}

std::optional<std::string> FindShapeFile(const TFolderList& shapeFolders, const std::string& shapeName) {
  if (shapeName.empty() || !IsBareShapeName(shapeName)) return std::nullopt;
  return shapeFolders.Find(shapeName);
}

TButtonRect ButtonRect(const TView3D& view, const TParams& params) {
  if (params.HoldButtonSize) return {params.ButLeft, params.ButTop, params.ButRight, params.ButBottom};
  // The letters' extent, widened by the margins plus one unit.
  const TModelExtents e = view.ModelExtents();
  return {Saturate32(int64_t{e.Left} - params.GutLeft - 1), Saturate32(int64_t{e.Top} + params.GutTop + 1),
          Saturate32(int64_t{e.Right} + params.GutRight + 1), Saturate32(int64_t{e.Bottom} - params.GutBottom - 1)};
}

TButtonOutline MakeButtonOutline(const TButtonRect& rect, const TParams& params, TButShape& shape,
                                 const TFolderList& shapeFolders) {
  TButtonOutline outline;
  outline.Rect = rect;
  if (IsShapeFileType(params.Type)) {
    if (params.ShapeName.empty()) return outline;
    if (!IsBareShapeName(params.ShapeName))
      throw std::runtime_error("Cannot use the shape " + params.ShapeName +
                               ": a shape is a file of the BShapes folder, named without any folder");
    // A file that is not there leaves the shape of the last build in use.
    if (auto path = FindShapeFile(shapeFolders, params.ShapeName)) shape.LoadFromFile(*path);
    shape.MakeOutline(rect, outline.Pts, outline.Count);
  } else {
    MakeBuiltInOutline(params.Type, rect, params.SplPnt, outline.Pts, outline.Count);
  }
  return outline;
}

namespace {

TVertex At(TPoint p, int32_t depth) { return TVertex{p.x, depth, p.y}; }

}  // namespace

void MakeButtonBody(const TButtonOutline& button, const TParams& params, TView3D& view) {
  // The plane quad covers the letters' extent and the margins (without the extra unit
  // of the outline's rectangle).
  const TModelExtents e = view.ModelExtents();
  const int32_t left = Saturate32(int64_t{e.Left} - params.GutLeft);
  const int32_t top = Saturate32(int64_t{e.Top} + params.GutTop);
  const int32_t right = Saturate32(int64_t{e.Right} + params.GutRight);
  const int32_t bottom = Saturate32(int64_t{e.Bottom} - params.GutBottom);

  TLetter outline;
  if (button.Count > 0) outline.AddContour(&button.Pts[1], button.Count);

  const int32_t b = view.AddBody();
  if (b == 0) return;
  view.MarkButton(b);
  TBody& body = view.Body(b);

  const int64_t butW = params.ButW;
  const int32_t Y0 = Saturate32(-int64_t{params.ButY});          // the cap plane
  const int32_t Y1 = DivTrunc(-butW * params.ButY, 100);          // top of the straight wall
  const int32_t skirtDepth = Saturate32(4 * butW);                // outer edge of the skirt
  const int32_t w1 = Saturate32(butW), w2 = Saturate32(2 * butW), w8 = Saturate32(8 * butW);

  if (outline.ContourCount > 0) {
    body.AddContour(&button.Pts[1], button.Count, params.ButY);
    if (HasDistinctPoints(outline, 1)) {
      for (int j = 1; j <= button.Count - 1; ++j) {
        const TContourEdge e = EdgeAt(outline, 1, j);
        const TContourEdge e1 = e.Offset(w1), e2 = e.Offset(w2), e8 = e.Offset(w8);
        body.AddFace(At(e.A, Y0), At(e.C, Y0), At(e.C, Y1), At(e.A, Y1));            // wall
        body.AddFace(At(e.A, Y1), At(e.C, Y1), At(e1.C, 0), At(e1.A, 0));            // bevel
        body.AddFace(At(e1.A, 0), At(e1.C, 0), At(e2.C, 0), At(e2.A, 0));            // ring
        body.AddFace(At(e2.A, 0), At(e2.C, 0), At(e8.C, skirtDepth), At(e8.A, skirtDepth));  // skirt
      }
    }
  }
  body.AddFace(TVertex{left, Y0, top}, TVertex{left, Y0, bottom}, TVertex{right, Y0, bottom},
               TVertex{right, Y0, top});
}

}  // namespace qz
