// Walking a closed contour and pushing its vertices outward: the bevels of letters and
// button are made by joining each edge of a contour to its offset copy.
//
// A contour holds n points, the last repeating the first, so indices repeat with
// period n - 1 (index n is index 1, index 0 is index n - 1). The usual walk, for the
// vertex A at index j of contour c and a width d:
//
//   TPoint A = ContourPoint(letter, c, j);
//   int k = j;  TPoint B = PrevDistinct(letter, c, k);
//   k = j;      TPoint C = NextDistinct(letter, c, k);
//               TPoint D = NextDistinct(letter, c, k);   // continues from C's index
//   TPoint Aw = OffsetVertex(B, A, C, d), Cw = OffsetVertex(A, C, D, d);
//
// A contour whose points all coincide has no distinct neighbour: HasDistinctPoints
// tells a caller to skip it before walking its walls.
#pragma once

#include <cstdint>

#include "scene/Letter.h"

namespace qz {

// Point j of contour c. c and j are wrapped once into range as a closed contour reads
// them (c by ContourCount, j by the period n - 1); an index further out is wrapped as
// often as needed. A letter without contours or a contour without points gives (0, 0);
// a contour of one point gives that point for every index.
TPoint ContourPoint(const TLetter& letter, int c, int j);

// The first point after (before) index k whose position differs from point k; k is
// left at its index, unwrapped. The search stops after one period: on a contour with
// no other position it returns point k itself and leaves k unchanged.
TPoint NextDistinct(const TLetter& letter, int c, int& k);
TPoint PrevDistinct(const TLetter& letter, int c, int& k);

// Whether contour c has at least two different positions, so the walk has neighbours.
bool HasDistinctPoints(const TLetter& letter, int c);

// The offset of vertex M where the edge from P arrives and the edge to Q leaves,
// pushed d to the left of the direction of travel (away from the filled area of a
// TrueType contour) - twice as far along x as along y. Parallel edges give the middle
// of the two shifted reference points. A zero-length edge (P = M or M = Q) is left
// out: M is pushed along the other edge's normal alone, or stays put when both are.
TPoint OffsetVertex(TPoint P, TPoint M, TPoint Q, int32_t d);

}  // namespace qz
