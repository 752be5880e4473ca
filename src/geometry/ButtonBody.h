// The button plate under the letters, made in two steps after the letter bodies exist
// (and only when Type > 0):
//
//   MakeButtonOutline(scene);   // the button rectangle, and its outline into Pts
//   MakeButtonBody(scene);      // one more body, the last of the view
//
// The rectangle is the extent of the letter bodies (always containing the origin)
// widened by the margins GutLeft..GutBottom plus one; with HoldButtonSize the stored
// ButLeft..ButBottom of an earlier build are used instead. The outline is a built-in
// shape (ButtonOutline.h) or the shape file ShapeName in the program's BShapes folder.
//
// The body, from the viewer backwards: the cap (the outline at depth Y0 = -ButY, the
// plate the letters stand on), a straight wall up to Y1 = -(ButW * ButY) div 100, a
// bevel to the front ring at depth 0, the flat ring from ButW to 2 ButW outside the
// outline, a skirt sloping back to depth 4 ButW at 8 ButW outside, and last the plane
// quad that gives the cap its depth and level.
#pragma once

#include <optional>
#include <string>

#include "scene/Scene.h"

namespace qz {

// The shape file a design names: ShapeName in programDir + "BShapes/", matched exactly
// first, then without regard to case; a Windows path ("C:\Shapes\star.qzkh") falls
// back to its bare name. Nothing when ShapeName is empty or no such file exists.
std::optional<std::string> FindShapeFile(const std::string& programDir, const std::string& shapeName);

// Fills Pts and PtCount with the closed button outline for Type and stores the button
// rectangle in ButLeft..ButBottom unless HoldButtonSize is set. A missing shape file
// keeps the shape loaded before (none at first: an empty outline). A shape file that
// cannot be read throws std::runtime_error naming the file, which abandons the build.
void MakeButtonOutline(TScene& scene);

// Adds the button body built from Pts to the view. An outline without two distinct
// points gives a body of the plane quad alone (and its cap outline, if any).
void MakeButtonBody(TScene& scene);

}  // namespace qz
