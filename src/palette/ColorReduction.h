// MakeIndexedImage: the colour reduction of the GIF export. A 24-bit picture becomes
// a palette of the chosen kind and one palette index per pixel, mapped by the kind's
// rule while the picture is walked row by row in alternating directions, optionally
// with error-diffusion dithering.
//
//   TIndexedImage gif = MakeIndexedImage(image, TPaletteKind::Optimized,
//                                        TDitherMethod::FloydSteinberg, 8);
//
// Transparency: pass one byte per pixel (rows top to bottom), non-zero where the
// pixel is transparent. Those pixels all get one reserved entry (transparentIndex,
// coloured magenta) that no opaque pixel ever gets, whatever the palette kind; they
// take no part in the computed palette and neither give nor take dithering error.
// How the entry is reserved:
//   - computed palettes: the octree keeps one colour fewer; the entry follows its
//     colours;
//   - fixed palettes of fewer than 256 entries: an entry appended after the table;
//   - " Windows halftone (256)": its spare entry (a repeat no colour maps to);
//   - " Grayscale (256)": the first grey no opaque pixel uses, or, when every grey is
//     used, the least used one, whose pixels then go to the next grey.
#pragma once

#include <cstdint>
#include <vector>

#include "palette/Dither.h"
#include "image/IndexedImage.h"
#include "palette/PaletteKind.h"
#include "image/Bitmap.h"

namespace qz {

// colorBits (1..8) sets the size of " Optimized" (2^colorBits entries); the other
// kinds ignore it. Throws std::invalid_argument for a kind, method or resolution
// outside the tables, or a mask that does not have one byte per pixel.
TIndexedImage MakeIndexedImage(const TBitmap& image, TPaletteKind kind, TDitherMethod dither, int colorBits,
                               const std::vector<uint8_t>* transparentMask = nullptr);

}  // namespace qz
