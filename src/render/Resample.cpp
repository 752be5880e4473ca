#include "render/Resample.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "platform/Numeric.h"

namespace qz {

// --- Filters ----------------------------------------------------------------------
// The polynomials are evaluated in extended precision (the constants 2/3, 1/6, 16/3,
// -7/3 and 32/3 with them) and handed back as doubles. Filters run only while the
// contributor lists are built, never per pixel.

double BoxFilter(double x) { return (x > -0.5 && x <= 0.5) ? 1.0 : 0.0; }

double TriangleFilter(double x) {
  double a = std::fabs(x);
  return a < 1.0 ? 1.0 - a : 0.0;
}

double HermiteFilter(double x) {
  long double a = std::fabs(x);
  return a < 1.0L ? static_cast<double>((2.0L * a - 3.0L) * a * a + 1.0L) : 0.0;
}

double BellFilter(double x) {
  long double a = std::fabs(x);
  if (a < 0.5L) return static_cast<double>(0.75L - a * a);
  if (a < 1.5L) {
    long double t = a - 1.5L;
    return static_cast<double>(0.5L * t * t);
  }
  return 0.0;
}

double SplineFilter(double x) {
  long double a = std::fabs(x);
  if (a < 1.0L) return static_cast<double>(0.5L * a * a * a - a * a + 2.0L / 3.0L);
  if (a < 2.0L) {
    long double t = 2.0L - a;
    return static_cast<double>((1.0L / 6.0L) * t * t * t);
  }
  return 0.0;
}

namespace {
// In double precision: the long double sine of the C library is many times slower,
// and the weights are stored as doubles anyway.
double Sinc(double v) {
  if (v == 0.0) return 1.0;
  double pv = v * 3.14159265358979323846;
  return std::sin(pv) / pv;
}
}  // namespace

double LanczosFilter(double x) {
  double a = std::fabs(x);
  return a < 3.0 ? Sinc(a) * Sinc(a / 3.0) : 0.0;
}

// Mitchell-Netravali with B = C = 1/3.
double MitchellFilter(double x) {
  long double a = std::fabs(x);
  long double a2 = a * a;
  if (a < 1.0L) return static_cast<double>((7.0L * a2 * a - 12.0L * a2 + 16.0L / 3.0L) / 6.0L);
  if (a < 2.0L)
    return static_cast<double>(((-7.0L / 3.0L) * a2 * a + 12.0L * a2 - 20.0L * a + 32.0L / 3.0L) / 6.0L);
  return 0.0;
}

const std::array<TFilter, 7> Filters = {{
    {"Box", BoxFilter, 0.5},
    {"Triangle", TriangleFilter, 1.0},
    {"Hermite", HermiteFilter, 1.0},
    {"Bell", BellFilter, 1.5},
    {"B-Spline", SplineFilter, 2.0},
    {"Lanczos3", LanczosFilter, 3.0},
    {"Mitchell", MitchellFilter, 2.0},
}};

const TFilter* FindFilter(std::string_view name) {
  for (const TFilter& f : Filters)
    if (name == f.Name) return &f;
  return nullptr;
}

// --- Contributor lists ------------------------------------------------------------

namespace {

struct TContributor {
  int32_t Pixel;  // source index, already inside 0..size-1
  double Weight;
};

// One list per destination index, stored back to back: the list of destination
// index i is Items[First[i] .. First[i + 1]).
struct TContributorLists {
  std::vector<size_t> First;
  std::vector<TContributor> Items;
};

// A source index beyond an edge is mirrored back into the picture (-1 reads 1, size
// reads size - 1). A filter that reaches further beyond an edge than the picture is
// wide would still land outside: such an index reads the nearest edge pixel.
int32_t ReflectIndex(int64_t j, int32_t size) {
  if (j < 0)
    j = -j;
  else if (j >= size)
    j = 2 * static_cast<int64_t>(size) - j - 1;
  if (j < 0) return 0;
  if (j >= size) return size - 1;
  return static_cast<int32_t>(j);
}

// The scale that maps the first and last pixels onto each other; a one-pixel side
// (source or destination) uses the plain ratio of the sizes instead, so a one-pixel
// destination does not divide by a scale of zero.
double ScaleFactor(int32_t destSize, int32_t srcSize) {
  if (srcSize == 1 || destSize == 1) return static_cast<double>(destSize) / srcSize;
  return static_cast<double>(destSize - 1) / (srcSize - 1);
}

TContributorLists BuildContributors(int32_t destSize, int32_t srcSize, TFilterFunc filter, double width) {
  TContributorLists lists;
  lists.First.reserve(static_cast<size_t>(destSize) + 1);
  double scale = ScaleFactor(destSize, srcSize);
  bool shrinking = scale < 1.0;
  double w = shrinking ? width / scale : width;  // reach of the filter in source pixels
  double s = 1.0 / scale;
  lists.Items.reserve(static_cast<size_t>(destSize) * static_cast<size_t>(2.0 * w + 1.0));
  for (int32_t i = 0; i < destSize; ++i) {
    lists.First.push_back(lists.Items.size());
    double center = i / scale;
    int64_t left = static_cast<int64_t>(std::floor(center - w));
    int64_t right = static_cast<int64_t>(std::ceil(center + w));
    for (int64_t j = left; j <= right; ++j) {
      double weight = shrinking ? filter((center - j) / s) / s : filter(center - j);
      if (weight != 0.0) lists.Items.push_back({ReflectIndex(j, srcSize), weight});
    }
  }
  lists.First.push_back(lists.Items.size());
  return lists;
}

// A channel sum to a byte: clamped to 0..255, then the nearest integer with halves
// to even. Inside 0..255, adding and taking away 1.5 * 2^52 leaves exactly that
// integer (the sum has no fraction bits, and the default rounding is to nearest,
// ties to even), which is what RoundHalfEven gives, without a call per channel.
// (Strict IEEE arithmetic, as the build uses, never folds the two steps away.)
static_assert(FLT_EVAL_METHOD == 0, "the rounding shift needs double arithmetic without excess precision");
inline uint32_t ToByte(double v) {
  constexpr double kRoundingShift = 6755399441055744.0;  // 1.5 * 2^52
  v = v < 0.0 ? 0.0 : v;
  v = v > 255.0 ? 255.0 : v;
  return static_cast<uint32_t>((v + kRoundingShift) - kRoundingShift);
}

// The first pass works on kRows source rows at a time: for each source pixel their
// 3 x kRows channel values lie side by side, so one contributor updates 12
// independent sums, held in six two-lane registers. Each sum still adds its terms
// in contributor order, so the result is that of a pixel-by-pixel walk.
constexpr int kRows = 4;
constexpr int kLane = 3 * kRows;
typedef double TDouble2 __attribute__((vector_size(16)));

inline TDouble2 Load2(const double* p) {
  TDouble2 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// The second pass adds whole work rows in chunks of this many floats.
constexpr size_t kChunk = 8;

}  // namespace

// --- The two passes ---------------------------------------------------------------

void ResampleImage(const TBitmap& source, TBitmap& destination, TFilterFunc filter, double width) {
  const int32_t sw = source.Width(), sh = source.Height();
  if (sw < 1 || sh < 1) throw std::runtime_error("Source bitmap too small");
  if (!(width > 0.0 && width <= 1000.0)) throw std::invalid_argument("ResampleImage: bad filter width");
  const int32_t dw = destination.Width(), dh = destination.Height();
  if (dw < 1 || dh < 1) return;

  // The work picture (dw columns, sh rows) holds the rounded bytes of the first pass
  // as floats, three channels per pixel, each row padded to whole chunks.
  const size_t rowValues = static_cast<size_t>(dw) * 3;
  const size_t workStride = (rowValues + kChunk - 1) / kChunk * kChunk;
  std::vector<float> work(workStride * sh, 0.0f);
  std::vector<double> lanes(static_cast<size_t>(sw) * kLane);
  std::vector<double> acc(workStride);

  // First pass: every source row is scaled across into the work picture.
  {
    TContributorLists columns = BuildContributors(dw, sw, filter, width);
    const TContributor* items = columns.Items.data();
    for (int32_t y0 = 0; y0 < sh; y0 += kRows) {
      const int rows = std::min<int32_t>(kRows, sh - y0);
      // Unpack the block's rows once; rows past the bottom read 0 and are not stored.
      if (rows < kRows) std::fill(lanes.begin(), lanes.end(), 0.0);
      for (int r = 0; r < rows; ++r) {
        const uint32_t* src = source.ScanLine(y0 + r);
        for (int32_t x = 0; x < sw; ++x) {
          double* p = lanes.data() + static_cast<size_t>(x) * kLane + 3 * r;
          p[0] = PixelRed(src[x]);
          p[1] = PixelGreen(src[x]);
          p[2] = PixelBlue(src[x]);
        }
      }
      for (int32_t i = 0; i < dw; ++i) {
        TDouble2 s0 = {}, s1 = {}, s2 = {}, s3 = {}, s4 = {}, s5 = {};
        for (size_t k = columns.First[i], end = columns.First[i + 1]; k < end; ++k) {
          const double* p = lanes.data() + static_cast<size_t>(items[k].Pixel) * kLane;
          const TDouble2 wgt = {items[k].Weight, items[k].Weight};
          s0 += Load2(p) * wgt;
          s1 += Load2(p + 2) * wgt;
          s2 += Load2(p + 4) * wgt;
          s3 += Load2(p + 6) * wgt;
          s4 += Load2(p + 8) * wgt;
          s5 += Load2(p + 10) * wgt;
        }
        const double sum[kLane] = {s0[0], s0[1], s1[0], s1[1], s2[0], s2[1],
                                   s3[0], s3[1], s4[0], s4[1], s5[0], s5[1]};
        for (int r = 0; r < rows; ++r) {
          float* out = work.data() + workStride * (y0 + r) + 3 * static_cast<size_t>(i);
          for (int c = 0; c < 3; ++c) out[c] = static_cast<float>(ToByte(sum[3 * r + c]));
        }
      }
    }
  }

  // Second pass: every destination row sums whole work rows, weighted by the row's
  // contributors. Each pixel still adds its terms in contributor order, exactly as
  // a column-by-column walk would.
  TContributorLists rows = BuildContributors(dh, sh, filter, width);
  for (int32_t y = 0; y < dh; ++y) {
    double* a = acc.data();
    std::fill(a, a + workStride, 0.0);
    for (size_t k = rows.First[y], end = rows.First[y + 1]; k < end; ++k) {
      const float* in = work.data() + workStride * rows.Items[k].Pixel;
      const double wgt = rows.Items[k].Weight;
      for (size_t x = 0; x < workStride; x += kChunk)
        for (size_t c = 0; c < kChunk; ++c) a[x + c] += in[x + c] * wgt;
    }
    uint32_t* dst = destination.ScanLine(y);
    for (int32_t x = 0; x < dw; ++x)
      dst[x] = RGBToPixel(ToByte(a[3 * x]), ToByte(a[3 * x + 1]), ToByte(a[3 * x + 2]));
  }
}

}  // namespace qz
