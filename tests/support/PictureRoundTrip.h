// The round trip of every picture format Quenzar writes: a picture written by our
// writer into a temporary file, read back, and compared pixel by pixel with what was
// written. Read back by our own reader, through LoadImageFile, where there is one
// (BMP, GIF, JPEG, PNG); by the library itself where we only write (WebP, and PNG's
// alpha channel, which our reader lays over white).
//
//   const test::TRoundTrip trip = test::RoundTrip(image, {.Format = test::TPictureFormat::Jpeg,
//                                                         .Quality = 95, .Tolerance = 12});
//   EXPECT_EQ(trip.Mismatch, "");   // or the first pixel beyond the tolerance
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/Bitmap.h"
#include "image/formats/GifWriter.h"
#include "image/IndexedImage.h"

namespace qz::test {

enum class TPictureFormat { Bmp, Gif, Jpeg, Png, Webp };

struct TPictureOptions {
  TPictureFormat Format = TPictureFormat::Png;
  // PNG and WebP: an alpha channel as those writers take it, a mask of the picture's
  // size whose red byte is the alpha (white is opaque); read back and compared too.
  const TBitmap* Alpha = nullptr;
  int Quality = 90;    // JPEG, and WebP when lossy
  bool Lossy = false;  // WebP
  TGifCompression Compression = TGifCompression::Lzw;
  // The largest difference allowed in any channel, alpha included: 0 (exact) for the
  // lossless formats; for JPEG and lossy WebP the test states what it allows.
  int Tolerance = 0;
  // The file's name in the temporary folder; "" names it for its format
  // ("picture.png"). A test of reading by content gives another extension.
  std::string FileName = {};
};

struct TRoundTrip {
  std::vector<uint8_t> Bytes;  // the file as written
  TBitmap Read;                // the colours read back, the fourth byte 0
  std::vector<uint8_t> Alpha;  // PNG and WebP with alpha: the alpha read back, one byte a pixel
  int MaxDifference = 0;       // the largest difference in any channel of any pixel
  // "" when every pixel is within the tolerance, else the first one that is not (or
  // why nothing could be compared), for a test to print.
  std::string Mismatch;
};

// A picture in any format. GIF: a picture of at most 256 colours, written opaque with
// its colours as the palette in the order they first appear. Throws
// std::invalid_argument for a picture the format cannot hold, and what the writer
// throws; a reader's refusal is a Mismatch.
TRoundTrip RoundTrip(const TBitmap& image, const TPictureOptions& options);

// A GIF as its writer takes it, an indexed picture with its palette and transparent
// entry. Each pixel must read back as its palette colour; a transparent one as what
// the reader shows there: the screen's background (entry 0, as our writer gives it),
// or white when entry 0 is itself the transparent one.
TRoundTrip RoundTrip(const TIndexedImage& frame, TGifCompression compression = TGifCompression::Lzw);

struct TComparison {
  int MaxDifference = 0;
  std::string Mismatch;  // "" when equal within the tolerance
};

// Two pictures compared by colour (the fourth byte ignored): their sizes, then each
// pixel's largest difference in a channel against the tolerance.
TComparison ComparePictures(const TBitmap& expected, const TBitmap& read, int tolerance);

}  // namespace qz::test
