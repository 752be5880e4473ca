// ResampleImage: the one filtered image scaler. Textures are fitted to their tiles,
// the render to the preview, the export image and its mask to the export size, the
// Dimensions picture and the work icon to their boxes, all through here.
//
//   TBitmap out(800, 200);                               // the size to scale to
//   ResampleImage(picture, out, LanczosFilter, 3.0);     // or:
//   ResampleImage(picture, out, *FindFilter("B-Spline"));
//
// Two separable passes (rows, then columns) with contributor lists built once per
// destination column and once per destination row. The weights are not normalised;
// every channel is clamped to 0..255 and rounded to nearest, halves to even, after
// each pass. The result is a 24-bit picture: the fourth byte of every destination
// pixel is 0, and the fourth byte of the source is never read.
#pragma once

#include <array>
#include <string_view>

#include "image/Bitmap.h"

namespace qz {

// A reconstruction filter: weight for a distance in source pixels.
using TFilterFunc = double (*)(double);

double BoxFilter(double x);
double TriangleFilter(double x);
double HermiteFilter(double x);
double BellFilter(double x);
double SplineFilter(double x);    // "B-Spline"
double LanczosFilter(double x);   // "Lanczos3"
double MitchellFilter(double x);

struct TFilter {
  const char* Name;
  TFilterFunc Function;
  double Support;  // the filter width the callers pass with it
};

// The seven filters in the order of the filter list.
extern const std::array<TFilter, 7> Filters;

// The filter of that name (exact spelling, "B-Spline"), or nullptr.
const TFilter* FindFilter(std::string_view name);

// The scaler's inner loops are built twice: for vectors of four doubles (AVX2, used
// when the processor has it) and of two (every processor). Both give the same pixels,
// bit for bit; Portable asks for the second build (the tests compare the two).
enum class TResampleLoops { Best, Portable };

// Scales the whole of source onto the whole of destination, whose size the caller has
// set. Throws std::runtime_error("Source bitmap too small") when source has no pixels
// (destination untouched). A destination without pixels is left as it is. A filter
// width outside 0 < width <= 1000 (a caller's mistake) throws std::invalid_argument.
// The destination's rows are shared among `threads` threads (0: one per core when the
// job is large enough to pay for them), each with the same pixels one thread makes.
// Only a few rows of the first pass are held at a time, never the whole picture.
void ResampleImage(const TBitmap& source, TBitmap& destination, TFilterFunc filter, double width,
                   TResampleLoops loops = TResampleLoops::Best, int threads = 0);
inline void ResampleImage(const TBitmap& source, TBitmap& destination, const TFilter& filter) {
  ResampleImage(source, destination, filter.Function, filter.Support);
}

}  // namespace qz
