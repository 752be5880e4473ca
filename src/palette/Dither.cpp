#include "palette/Dither.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "base/Numeric.h"

namespace qz {

namespace {

// The published weights, for a walk from left to right.
constexpr TDitherWeight kFloydSteinberg[] = {
    {1, 0, 7},
    {-1, 1, 3}, {0, 1, 5}, {1, 1, 1},
};
constexpr TDitherWeight kStucki[] = {
    {1, 0, 8}, {2, 0, 4},
    {-2, 1, 2}, {-1, 1, 4}, {0, 1, 8}, {1, 1, 4}, {2, 1, 2},
    {-2, 2, 1}, {-1, 2, 2}, {0, 2, 4}, {1, 2, 2}, {2, 2, 1},
};
constexpr TDitherWeight kSierra[] = {
    {1, 0, 5}, {2, 0, 3},
    {-2, 1, 2}, {-1, 1, 4}, {0, 1, 5}, {1, 1, 4}, {2, 1, 2},
    {-1, 2, 2}, {0, 2, 3}, {1, 2, 2},
};
constexpr TDitherWeight kJarvisJudiceNinke[] = {
    {1, 0, 7}, {2, 0, 5},
    {-2, 1, 3}, {-1, 1, 5}, {0, 1, 7}, {1, 1, 5}, {2, 1, 3},
    {-2, 2, 1}, {-1, 2, 3}, {0, 2, 5}, {1, 2, 3}, {2, 2, 1},
};
constexpr TDitherWeight kStevensonArce[] = {
    {2, 0, 32},
    {-3, 1, 12}, {-1, 1, 26}, {1, 1, 30}, {3, 1, 16},
    {-2, 2, 12}, {0, 2, 26}, {2, 2, 12},
    {-3, 3, 5}, {-1, 3, 12}, {1, 3, 12}, {3, 3, 5},
};
constexpr TDitherWeight kBurkes[] = {
    {1, 0, 8}, {2, 0, 4},
    {-2, 1, 2}, {-1, 1, 4}, {0, 1, 8}, {1, 1, 4}, {2, 1, 2},
};

using M = TDitherMethod;

constexpr TDitherMethodInfo kMethods[] = {
    {M::None, " None", "none", 1, {}},
    {M::FloydSteinberg, " Floyd Steinberg", "floyd-steinberg", 16, kFloydSteinberg},
    {M::Stucki, " Stucki", "stucki", 42, kStucki},
    {M::Sierra, " Sierra", "sierra", 32, kSierra},
    {M::JarvisJudiceNinke, " Jarvis, Judice & Ninke", "jarvis", 48, kJarvisJudiceNinke},
    {M::StevensonArce, " Stevenson & Arche", "stevenson-arce", 200, kStevensonArce},
    {M::Burkes, " Burkes", "burkes", 32, kBurkes},
};

}  // namespace

std::span<const TDitherMethodInfo> DitherMethods() { return kMethods; }

const TDitherMethodInfo* FindDitherMethod(int code) {
  for (const TDitherMethodInfo& m : kMethods)
    if (static_cast<int>(m.method) == code) return &m;
  return nullptr;
}

const TDitherMethodInfo& DitherMethodInfo(TDitherMethod method) {
  const TDitherMethodInfo* info = FindDitherMethod(static_cast<int>(method));
  if (!info) throw std::invalid_argument("Unknown dithering method " + std::to_string(static_cast<int>(method)));
  return *info;
}

TErrorDiffuser::TErrorDiffuser(const TDitherMethodInfo& method, int width)
    : method_(method), width_(std::max(width, 0)), stride_(width_ * 3) {
  int reach = 0;
  for (const TDitherWeight& w : method.weights) reach = std::max(reach, w.dy);
  rowCount_ = reach + 1;
  rows_.assign(static_cast<size_t>(rowCount_) * stride_, 0);
}

void TErrorDiffuser::Adjust(int x, int& r, int& g, int& b) const {
  const int32_t* cell = &rows_[current_ * stride_ + x * 3];
  int divisor = method_.divisor;
  int half = divisor / 2;
  r = Clamp(r + DivTrunc(cell[0] + half, divisor), 0, 255);
  g = Clamp(g + DivTrunc(cell[1] + half, divisor), 0, 255);
  b = Clamp(b + DivTrunc(cell[2] + half, divisor), 0, 255);
}

void TErrorDiffuser::Spread(int x, int errorR, int errorG, int errorB) {
  int mirror = leftToRight_ ? 1 : -1;
  for (const TDitherWeight& w : method_.weights) {
    int tx = x + mirror * w.dx;
    if (tx < 0 || tx >= width_) continue;  // beyond the edge: not carried anywhere
    int32_t* cell = Cell(w.dy, tx);
    cell[0] += w.weight * errorR;
    cell[1] += w.weight * errorG;
    cell[2] += w.weight * errorB;
  }
}

void TErrorDiffuser::EndRow() {
  std::fill_n(rows_.begin() + current_ * stride_, stride_, 0);
  current_ = (current_ + 1) % rowCount_;
}

}  // namespace qz
