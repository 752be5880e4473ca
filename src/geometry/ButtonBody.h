// The button plate under the letters, made in two steps after the letter bodies exist
// (and only when Type > 0):
//
//   TButtonRect R = ButtonRect(view, params);
//   TButtonOutline outline = MakeButtonOutline(R, params, shape, folders.ShapeFolders());
//   MakeButtonBody(outline, params, view);     // one more body, the last of the view
//
// The rectangle is the extent of the letter bodies (always containing the origin)
// widened by the margins GutLeft..GutBottom plus one; with HoldButtonSize the stored
// ButLeft..ButBottom of an earlier build are used instead. The outline is a built-in
// shape (ButtonOutline.h) or the shape file ShapeName from the shape folders.
//
// The body, from the viewer backwards: the cap (the outline at depth Y0 = -ButY, the
// plate the letters stand on), a straight wall up to Y1 = -(ButW * ButY) div 100, a
// bevel to the front ring at depth 0, the flat ring from ButW to 2 ButW outside the
// outline, a skirt sloping back to depth 4 ButW at 8 ButW outside, and last the plane
// quad that gives the cap its depth and level.
#pragma once

#include <optional>
#include <string>

#include "geometry/ButShape.h"
#include "geometry/ButtonOutline.h"
#include "base/FolderList.h"
#include "render/View3D.h"
#include "scene/Params.h"

namespace qz {

// A shape is named by its bare file name: no folder part ("/" or "\"), not "." or "..".
bool IsBareShapeName(const std::string& shapeName);

// The shape file a design names: ShapeName in the first of shapeFolders that holds it
// (the user's BShapes/ before the factory's), matched exactly first, then without
// regard to case. Nothing when ShapeName is empty, not a bare name, or no such file
// exists.
std::optional<std::string> FindShapeFile(const TFolderList& shapeFolders, const std::string& shapeName);

// The closed outline the button body is built from, and the rectangle it was made for.
struct TButtonOutline {
  TButtonRect Rect;
  TOutlinePoints Pts{};  // used 1-based: Pts[1..Count]
  int32_t Count = 0;
};

// The button rectangle: the letter bodies' extent in view widened by the margins plus
// one, or with HoldButtonSize the stored ButLeft..ButBottom.
TButtonRect ButtonRect(const TView3D& view, const TParams& params);

// The outline for params.Type round R. A shape file is read into shape; a missing one
// keeps the shape loaded before (none at first: an empty outline). A shape file that
// cannot be read, or a shape name with a folder in it (which could name any file on
// the system), throws std::runtime_error naming it, which abandons the build.
TButtonOutline MakeButtonOutline(const TButtonRect& rect, const TParams& params, TButShape& shape,
                                 const TFolderList& shapeFolders);

// Adds the button body built from the outline to the view and marks it as the button.
// An outline without two distinct points gives a body of the plane quad alone (and its
// cap outline, if any).
void MakeButtonBody(const TButtonOutline& outline, const TParams& params, TView3D& view);

}  // namespace qz
