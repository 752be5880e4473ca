// Fuzz target: the glyph reader fed arbitrary outline record bytes (what a font
// engine could hand back for a damaged font), then the letter laid out and its
// contours walked and offset as the bevel does. The input is the record block
// followed by 8 bytes that give SplPnt and the bevel width (the seeds carry them).
//
// Whatever the bytes, the letter holds at most 8 contours of at most 1024 points,
// and the walk and the offset end without a crash or an endless loop.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "FuzzKit.h"
#include "geometry/ContourOffset.h"
#include "geometry/GlyphOutline.h"
#include "geometry/LetterLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qz;
  FuzzedDataProvider input(data, size);
  const int32_t splPnt = input.ConsumeIntegral<int32_t>();
  const int32_t bevel = input.ConsumeIntegral<int32_t>();
  const std::vector<uint8_t> block = input.ConsumeRemainingBytes<uint8_t>();

  TLetters letters;
  TNullMessageSink quiet;
  letters.Add();
  TGlyphReader(letters, splPnt, bevel, quiet).ParseOutline(block.data(), block.size());
  NormalizeCoordinates(letters);

  const TLetter& letter = letters[1];
  if (letter.ContourCount < 0 || letter.ContourCount > TLetter::MaxContours)
    fuzz::Broken("a letter of " + std::to_string(letter.ContourCount) + " contours");
  for (int c = 1; c <= letter.ContourCount; ++c) {
    const TLetter::TContour& contour = letter.Contour(c);
    if (contour.PtCount < 0 || contour.PtCount > MaxOutlinePoints ||
        static_cast<size_t>(contour.PtCount) != contour.Points.size())
      fuzz::Broken("a contour of " + std::to_string(contour.PtCount) + " points");
    if (!HasDistinctPoints(letter, c)) continue;
    for (int j = 1; j < contour.PtCount; ++j) EdgeAt(letter, c, j).Offset(bevel);
  }
  return 0;
}
