// Walking a closed contour and pushing its vertices outward: the bevels of letters and
// button are made by joining each edge of a contour to its offset copy.
//
// A contour holds n points, the last repeating the first, so indices repeat with
// period n - 1 (index n is index 1, index 0 is index n - 1). The walk that letters and
// button share visits each edge A-C with the distinct positions around it:
//
//   for (int j = 1; j <= n - 1; ++j) {
//     const TContourEdge e = EdgeAt(letter, c, j);   // B before A, D after C
//     const TContourEdge w = e.Offset(d);            // A and C pushed d outward
//     ... faces from e.A, e.C, w.A, w.C
//   }
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
TPoint OffsetVertex(TPoint p, TPoint m, TPoint q, int32_t d);

// The edge from A (point j of contour c) to C, the next position that differs from
// A, with B the position before A and D the one after C.
struct TContourEdge {
  TPoint B, A, C, D;
  // The edge with A and C pushed d outward (OffsetVertex at each end); B and D kept.
  TContourEdge Offset(int32_t d) const { return {B, OffsetVertex(B, A, C, d), OffsetVertex(A, C, D, d), D}; }
};
TContourEdge EdgeAt(const TLetter& letter, int c, int j);

}  // namespace qz
