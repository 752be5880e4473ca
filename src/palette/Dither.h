// The dithering methods of the GIF export and the error diffuser they share.
//
// Each method is a table of weights: the share of a pixel's error (weight / divisor)
// that goes to the pixel dx to the right and dy rows below, for a row walked from
// left to right. The image is walked in alternating directions, so on a row walked
// from right to left every dx is mirrored.
//
//   TErrorDiffuser diffuser(DitherMethodInfo(TDitherMethod::FloydSteinberg), width);
//   for (each row y) {
//     diffuser.BeginRow(leftToRight);
//     for (each pixel x in walk order) {
//       int r, g, b = pixel;  diffuser.Adjust(x, r, g, b);
//       ... map to a palette entry ...
//       diffuser.Spread(x, r - entry.r, g - entry.g, b - entry.b);
//     }
//     diffuser.EndRow();
//   }
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace qz {

enum class TDitherMethod : int {
  None = 0,
  FloydSteinberg = 1,
  Stucki = 2,
  Sierra = 3,
  JarvisJudiceNinke = 4,
  StevensonArce = 5,
  Burkes = 6,
};

struct TDitherWeight {
  int dx;  // columns ahead in a left-to-right walk
  int dy;  // rows below
  int weight;
};

struct TDitherMethodInfo {
  TDitherMethod method;
  const char* exportEntry;  // the entry of the export page's "Dithering" list
  const char* key;          // the command-line name
  int divisor;              // the sum of the weights
  std::span<const TDitherWeight> weights;
};

// All methods, in the order of the export page's list (codes 0..6).
std::span<const TDitherMethodInfo> DitherMethods();
// The method of a code, or null for a code that names none.
const TDitherMethodInfo* FindDitherMethod(int code);
// Throws std::invalid_argument for a value outside the table.
const TDitherMethodInfo& DitherMethodInfo(TDitherMethod method);

class TErrorDiffuser {
 public:
  TErrorDiffuser(const TDitherMethodInfo& method, int width);

  void BeginRow(bool leftToRight) { leftToRight_ = leftToRight; }
  // Adds the errors spread to pixel x of the current row to its channels: the
  // weighted sum plus half the divisor, divided by the divisor truncating toward
  // zero; the results limited to 0..255.
  void Adjust(int x, int& r, int& g, int& b) const;
  // Spreads a pixel's channel errors to the neighbours not yet visited. Shares that
  // would fall outside the image are dropped.
  void Spread(int x, int errorR, int errorG, int errorB);
  // Moves on to the next row.
  void EndRow();

 private:
  int32_t* Cell(int rowAhead, int x) { return &rows_[((current_ + rowAhead) % rowCount_) * stride_ + x * 3]; }

  TDitherMethodInfo method_;
  int width_;
  int stride_;
  int rowCount_;
  int current_ = 0;
  bool leftToRight_ = true;
  // rowCount_ rows of accumulated weighted errors, three channels a pixel: a ring
  // that starts at the current row.
  std::vector<int32_t> rows_;
};

}  // namespace qz
