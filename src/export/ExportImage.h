// Writing the exported button: the rendered picture and its coverage mask scaled to
// the export size and written as GIF, JPEG, BMP or PNG. The steps of an export:
//
//   auto button = session.RenderForExport();            // DesignSession.h
//   if (!button) return;                                // nothing to export (said so)
//   TFileGroup files;
//   uint64_t bytes = WriteImage(*button, size.width, size.height, options, path, files);
//   if (options.BrowserPreview) WritePreviewPage(folders, MakeExportFacts(...), files);
//   files.Commit();                                     // all or nothing
//
// The picture is scaled with "Lanczos3" (width 3.0), the mask with "B-Spline" (width
// 2.0). Where the scaled mask is exactly black nothing covers the picture: those
// pixels are transparent in a GIF with transparency; the pixels the filter softened
// at the edges of the button and its shadow stay opaque, in the page's colour.
// A PNG or WebP with transparency has true alpha instead: the picture rendered on
// black and on white and both scaled, the difference between them is what shows
// through, so coverage becomes alpha, the drop shadow translucent black, and no pixel
// holds the page's colour. Without transparency every pixel is opaque.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/ExportOptions.h"
#include "export/ExportSize.h"
#include "image/Bitmap.h"
#include "base/OutputFiles.h"
#include "render/RenderDriver.h"  // TRenderFrame

namespace qz {

// The design's picture and mask as the export copied them (fourth bytes 0). For a
// format with alpha, Image is drawn on black and OnWhite is the same on white;
// otherwise Image is on the design's background and OnWhite is empty.
struct TRenderedButton {
  TBitmap Image;
  TBitmap Mask;
  TBitmap OnWhite;
  TRenderFrame Frame;  // where it was drawn (other states are drawn in the same frame)
};

// The picture scaled to width x height through "Lanczos3", width 3.0 (24-bit).
TBitmap ScaleExportImage(const TBitmap& image, int width, int height);
// The mask scaled to width x height through "B-Spline", width 2.0 (24-bit).
TBitmap ScaleExportMask(const TBitmap& mask, int width, int height);

// Scales mask to the size of image and paints every pixel of image magenta where the
// scaled mask is exactly black. Gives one byte per pixel (rows top to bottom), 1 where
// the pixel was made transparent, 0 elsewhere.
std::vector<uint8_t> MarkTransparent(TBitmap& image, const TBitmap& mask);

// GIF: the colour reduction of the options (palette kind, colour resolution,
// dithering) and, with transparency, the pixels MarkTransparent marks in one entry
// reserved for them and named by the graphic control extension. When no pixel is
// transparent the image has no such entry (and keeps all its colours).
void WriteGif(const std::string& path, TBitmap& image, const TBitmap& mask, const TExportOptions& options,
              TFileGroup& files);
// The colours and the alpha (grey, in every channel) of a picture from the same
// picture on black and on white and a white page, all three scaled alike to one size.
// Per pixel the share of the page that shows through is the largest difference of a
// channel between white and black, against what the white page became (the scaler
// leaves white a level or two short of 255, and leaves the ratio alone); the alpha is
// what does not show through, the colour what shows on black divided by the alpha
// (black where nothing covers). Laid on any page the picture is the one drawn on it.
struct TUnmixed {
  TBitmap Color;
  TBitmap Alpha;
};
TUnmixed UnmixBackgrounds(const TBitmap& onBlack, const TBitmap& onWhite, const TBitmap& white);
// The button (drawn on black and on white) scaled to width x height as colours and
// alpha, as a PNG or WebP with transparency holds it. Throws std::invalid_argument for
// a button without OnWhite.
TUnmixed AlphaPicture(const TRenderedButton& button, int width, int height);

// Scales the button to width x height and writes it to path in options.Format, as a
// file of the group (the extension of path is the caller's business: the save dialog
// has made it match). Gives the size of the file in bytes. Throws
// std::invalid_argument for options outside their lists (colour bits 3..8, quality
// 1..100, palette kind and dithering codes, a scale of 1..3, a PNG or WebP with
// transparency from a button without OnWhite), std::runtime_error for a size that is
// not IsExportSize (or beyond a WebP's sides), and std::runtime_error naming path when
// the file cannot be written.
uint64_t WriteImage(const TRenderedButton& button, int width, int height, const TExportOptions& options,
                    const std::string& path, TFileGroup& files);

// Throws std::invalid_argument naming the first option outside its list.
void CheckExportOptions(const TExportOptions& options);

}  // namespace qz
