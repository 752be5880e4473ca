#include "render/Resample.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
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

// The passes add sums side by side in vectors of N doubles: N = 4 on processors with
// AVX2, N = 2 (SSE2, or whatever the compiler makes of it elsewhere) on every other.
// Every sum still adds its terms one by one in contributor order, in double
// precision, with a plain multiply and a plain add (no fused multiply-add: the AVX2
// build does not enable FMA), so each is exactly the sum a pixel-by-pixel walk
// makes, whichever build runs.
template <int N>
struct TVectors;
template <>
struct TVectors<2> {
  typedef double TDouble __attribute__((vector_size(16)));
  typedef int32_t TInt __attribute__((vector_size(8)));
};
template <>
struct TVectors<4> {
  typedef double TDouble __attribute__((vector_size(32)));
  typedef int32_t TInt __attribute__((vector_size(16)));
};

// The helpers below are always inlined into the loops of their own build, so no
// vector crosses a call and the ABI note about AVX vectors does not apply (the note
// comes at the end of the file, so it stays off to the end).
#pragma GCC diagnostic ignored "-Wpsabi"

template <int N>
[[gnu::always_inline]] inline typename TVectors<N>::TDouble Broadcast(double w) {
  typename TVectors<N>::TDouble v;
  for (int i = 0; i < N; ++i) v[i] = w;
  return v;
}

template <int N>
[[gnu::always_inline]] inline typename TVectors<N>::TDouble LoadDoubles(const double* p) {
  typename TVectors<N>::TDouble v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// N channel sums to bytes (still as doubles): clamped to 0..255, then the nearest
// integer with halves to even. Inside 0..255, adding and taking away 1.5 * 2^52
// leaves exactly that integer (the sum has no fraction bits, and the default rounding
// is to nearest, ties to even), which is what RoundHalfEven gives, without a call per
// channel. (Strict IEEE arithmetic, as the build uses, never folds the two steps away.)
static_assert(FLT_EVAL_METHOD == 0, "the rounding shift needs double arithmetic without excess precision");
template <int N>
[[gnu::always_inline]] inline typename TVectors<N>::TDouble ToBytes(typename TVectors<N>::TDouble v) {
  const auto zero = Broadcast<N>(0.0), top = Broadcast<N>(255.0), shift = Broadcast<N>(6755399441055744.0);
  v = v < zero ? zero : v;
  v = v > top ? top : v;
  return (v + shift) - shift;
}

// The work picture (dw columns, sh rows) holds the rounded bytes of the first pass as
// doubles, three channels per pixel, ready to be multiplied; each row is padded with
// zeros to whole chunks of the second pass. The first pass writes all the other
// values, so only the padding is cleared beforehand.
constexpr size_t kChunkValues = 16;
struct TWork {
  TWork(int32_t columns, int32_t rows)
      : used(static_cast<size_t>(columns) * 3),
        stride((used + kChunkValues - 1) / kChunkValues * kChunkValues),
        values(new double[stride * static_cast<size_t>(rows)]) {
    for (int32_t y = 0; y < rows; ++y) std::fill(Row(y) + used, Row(y) + stride, 0.0);
  }
  double* Row(int32_t y) { return values.get() + stride * static_cast<size_t>(y); }

  size_t used;
  size_t stride;
  std::unique_ptr<double[]> values;
};

// First pass: every source row is scaled across into the work picture. It works on
// 2N source rows at a time: for each source pixel their 3 x 2N channel values lie
// side by side (six vectors), so one contributor updates 6N independent sums.
template <int N>
[[gnu::always_inline]] inline void ScaleRowsWith(const TBitmap& source, const TContributorLists& columns,
                                                 TWork& work) {
  using TDouble = typename TVectors<N>::TDouble;
  constexpr int kRows = 2 * N, kLane = 3 * kRows, kVectors = 6;
  const int32_t sw = source.Width(), sh = source.Height();
  const int32_t dw = static_cast<int32_t>(columns.First.size()) - 1;
  const TContributor* items = columns.Items.data();
  std::vector<double> lanes(static_cast<size_t>(sw) * kLane);
  for (int32_t y0 = 0; y0 < sh; y0 += kRows) {
    const int rows = std::min<int32_t>(kRows, sh - y0);
    // Unpack the block's rows once; rows past the bottom read 0 and are not stored.
    if (rows < kRows) std::fill(lanes.begin(), lanes.end(), 0.0);
    for (int r = 0; r < rows; ++r) {
      const uint32_t* src = source.ScanLine(y0 + r);
      double* p = lanes.data() + 3 * r;
      for (int32_t x = 0; x < sw; ++x, p += kLane) {
        p[0] = PixelRed(src[x]);
        p[1] = PixelGreen(src[x]);
        p[2] = PixelBlue(src[x]);
      }
    }
    double* out[kRows];
    for (int r = 0; r < rows; ++r) out[r] = work.Row(y0 + r);
    for (int32_t i = 0; i < dw; ++i) {
      TDouble sum[kVectors] = {};
      for (size_t k = columns.First[i], end = columns.First[i + 1]; k < end; ++k) {
        const double* p = lanes.data() + static_cast<size_t>(items[k].Pixel) * kLane;
        const TDouble w = Broadcast<N>(items[k].Weight);
#pragma GCC unroll 6
        for (int v = 0; v < kVectors; ++v) sum[v] += LoadDoubles<N>(p + N * v) * w;
      }
      double bytes[kLane];
#pragma GCC unroll 6
      for (int v = 0; v < kVectors; ++v) {
        const TDouble b = ToBytes<N>(sum[v]);
        std::memcpy(bytes + N * v, &b, sizeof b);
      }
      // Value by value: a wider copy would straddle two of the vector stores just made,
      // and the processor cannot forward those to it (a stall on every column).
#pragma GCC unroll 8
      for (int r = 0; r < rows; ++r) {
        double* o = out[r] + 3 * static_cast<size_t>(i);
        o[0] = bytes[3 * r];
        o[1] = bytes[3 * r + 1];
        o[2] = bytes[3 * r + 2];
      }
    }
  }
}

// Second pass: every destination row sums whole work rows, weighted by the row's
// contributors, 4N values at a time held in registers. Each value still adds its
// terms in contributor order, exactly as a column-by-column walk would.
template <int N>
[[gnu::always_inline]] inline void ScaleColumnsWith(TWork& work, const TContributorLists& rows,
                                                    TBitmap& destination) {
  using TDouble = typename TVectors<N>::TDouble;
  using TInt = typename TVectors<N>::TInt;
  static_assert(kChunkValues % (4 * N) == 0);
  const int32_t dw = destination.Width(), dh = destination.Height();
  std::vector<const double*> in;
  std::vector<double> weights;
  std::vector<int32_t> bytes(work.stride);
  for (int32_t y = 0; y < dh; ++y) {
    in.clear();
    weights.clear();
    for (size_t k = rows.First[y], end = rows.First[y + 1]; k < end; ++k) {
      in.push_back(work.Row(rows.Items[k].Pixel));
      weights.push_back(rows.Items[k].Weight);
    }
    const size_t n = in.size();
    for (size_t x = 0; x < work.stride; x += 4 * N) {
      TDouble a0 = {}, a1 = {}, a2 = {}, a3 = {};
      for (size_t k = 0; k < n; ++k) {
        const double* p = in[k] + x;
        const TDouble w = Broadcast<N>(weights[k]);
        a0 += LoadDoubles<N>(p) * w;
        a1 += LoadDoubles<N>(p + N) * w;
        a2 += LoadDoubles<N>(p + 2 * N) * w;
        a3 += LoadDoubles<N>(p + 3 * N) * w;
      }
      const TInt b[4] = {
          __builtin_convertvector(ToBytes<N>(a0), TInt), __builtin_convertvector(ToBytes<N>(a1), TInt),
          __builtin_convertvector(ToBytes<N>(a2), TInt), __builtin_convertvector(ToBytes<N>(a3), TInt)};
      std::memcpy(bytes.data() + x, b, sizeof b);
    }
    uint32_t* dst = destination.ScanLine(y);
    const int32_t* c = bytes.data();
    for (int32_t x = 0; x < dw; ++x, c += 3)
      dst[x] = RGBToPixel(static_cast<uint32_t>(c[0]), static_cast<uint32_t>(c[1]), static_cast<uint32_t>(c[2]));
  }
}

void ScalePortable(const TBitmap& source, const TContributorLists& columns, const TContributorLists& rows,
                   TWork& work, TBitmap& destination) {
  ScaleRowsWith<2>(source, columns, work);
  ScaleColumnsWith<2>(work, rows, destination);
}

#if defined(__x86_64__) || defined(__i386__)
[[gnu::target("avx2")]] void ScaleAvx2(const TBitmap& source, const TContributorLists& columns,
                                       const TContributorLists& rows, TWork& work, TBitmap& destination) {
  ScaleRowsWith<4>(source, columns, work);
  ScaleColumnsWith<4>(work, rows, destination);
}

bool HasAvx2() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has;
}
#endif

}  // namespace

// --- The two passes ---------------------------------------------------------------

void ResampleImage(const TBitmap& source, TBitmap& destination, TFilterFunc filter, double width,
                   TResampleLoops loops) {
  const int32_t sw = source.Width(), sh = source.Height();
  if (sw < 1 || sh < 1) throw std::runtime_error("Source bitmap too small");
  if (!(width > 0.0 && width <= 1000.0)) throw std::invalid_argument("ResampleImage: bad filter width");
  const int32_t dw = destination.Width(), dh = destination.Height();
  if (dw < 1 || dh < 1) return;

  const TContributorLists columns = BuildContributors(dw, sw, filter, width);
  const TContributorLists rows = BuildContributors(dh, sh, filter, width);
  TWork work(dw, sh);
  // The whole source is read before the destination is written: they may be one bitmap.
#if defined(__x86_64__) || defined(__i386__)
  if (loops == TResampleLoops::Best && HasAvx2()) return ScaleAvx2(source, columns, rows, work, destination);
#endif
  ScalePortable(source, columns, rows, work, destination);
}

}  // namespace qz
