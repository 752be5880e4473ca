// Laying the letters of the message out around the origin and turning each into a
// 3D body. After the last glyph is read, NormalizeCoordinates centres the message box
// TextMinX..TextMaxY on (0, 0) and gives every letter its box; TransformLetters then
// builds one body per letter in the view, before the button is made:
//
//   NormalizeCoordinates(letters);
//   TransformLetters(letters, params, view);   // bodies 1..letters.Count(), in message order
//
// A letter body: the face outline (cap) at depth Yf = -(ButY + TxtY), a bevel that
// widens by TxtW from the face back to Yf + TxtW, a straight pedestal from there to
// the button face at -ButY when TxtY > 10, and last the plane quad over the letter's
// box, which gives the cap its depth and light level.
#pragma once

#include <cstdint>

#include "render/View3D.h"
#include "scene/Letters.h"
#include "scene/Params.h"

namespace qz {

// Moves every point of every letter by the same translation: with W and H the width
// and height of the message box and halfW = W div 2, halfH = H div 2,
//   x <- x - TextMinX - halfW,   y <- halfH - (TextMaxY - y + 1),
// so the box becomes x in [-halfW, W - 1 - halfW], y in [halfH - H, halfH - 1]; then
// UpdateBounds on every letter (a blank keeps its box of zeros). The message box keeps
// its values.
void NormalizeCoordinates(TLetters& letters);

// The text stands on a pedestal only when it is extruded further than this.
constexpr int32_t PedestalMinTxtY = 10;

// Depth of the letter face (the cap outline): -(ButY + TxtY).
int32_t LetterFaceDepth(const TParams& params);
// Depth of the letter plane quad: in the face's own plane, Yf, as the button's plane
// quad lies in the button's face. The cap is then filled with the depth it really has;
// the quad projects onto the face's box, so a deep heading gets no empty margin from a
// quad floating nearer than anything drawn; and letters keep the look they have on the
// flat button (ButY 0, where Yf = -TxtY), whose straight-sided letters share their
// corner vertices with the quad, when the button is extruded.
int32_t LetterPlaneDepth(const TParams& params);

// Rebuilds the bodies of view from the letters: ClearBodies, then one body per
// letter in message order, shaped by the extrusion and bevel of params. Contours whose points all coincide get their cap outline
// but no walls. The body limits (2048 faces, 4096 vertices) drop faces silently.
void TransformLetters(const TLetters& letters, const TParams& params, TView3D& view);

// Adds the plane quad of the letter to its body:
// (Left, Yp, Top), (Left, Yp, Bottom), (Right, Yp, Bottom), (Right, Yp, Top).
void AddLetterPlane(const TLetter& letter, const TParams& params, TBody& body);

}  // namespace qz
