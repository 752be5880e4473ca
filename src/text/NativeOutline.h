// Turns a FreeType outline (26.6 pixel units, y up) into the native record stream of
// GlyphRecords.h, by one fixed rule so every build gives the same points:
//
// - pfxStart is the contour's first point when it is on-curve; otherwise its last point
//   when that is on-curve (the walk then starts there); otherwise the exact mid-point of
//   the last and first points (FreeType's own start rule for decomposing outlines).
// - From there the walk follows the points in order, wrapping around, back to pfxStart:
//   a maximal run of on-curve points is one line record; a maximal run of off-curve
//   points with the on-curve point that ends it (pfxStart itself, possibly) is one
//   quadratic spline record, the implied mid-points left out.
// - A straight last stretch back to pfxStart gets no record (the reader closes the
//   contour itself); a curved one is the last spline record, ending on pfxStart.
// - A 16.16 value is the 26.6 value times 1024.
#pragma once

#include <cstdint>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

namespace qz {

// Appends the records of every contour of outline to records. False, with records
// left as they were, when the outline cannot be expressed: a cubic point, a malformed
// contour table, or a coordinate beyond the 16.16 range (32768 pixels).
bool MakeNativeOutline(const FT_Outline& outline, std::vector<uint8_t>& records);

}  // namespace qz
