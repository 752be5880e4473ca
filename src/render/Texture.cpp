// Textured spans of the z-buffer: the light level of each pixel brightens or darkens
// the colours of a texture image tiled over the picture from its top-left pixel.

#include "render/ZBuffer.h"

namespace qz {

// Draws pixels X1..X2 of image row Row from texture row (Row mod height), column
// (x mod width), with the level running from A to B and the result tinted by Tint;
// at MidLevel a texel keeps its own colour.
//
// Texture images are not supported yet: until they are, a textured span is drawn as
// the palette gradient of the flush in progress, exactly as a span whose texture is
// empty. Texture, Tint and MidLevel are not read.
void TZBuffer::TexturedSpan(int32_t Row, int32_t X1, int32_t X2, int32_t A, int32_t B, TBitmap& Bitmap) {
  if (!flushPalette_) return;  // only a flush draws spans
  GradientSpan(X1, X2, Bitmap.ScanLine(Row), *flushPalette_, A, B);
}

}  // namespace qz
