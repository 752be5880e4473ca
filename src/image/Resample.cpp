#include "image/Resample.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

#include "base/Numeric.h"

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
// (Eight doubles a vector, with AVX-512, were slower on the machine we measure on: a
// block of 16 rows unpacked overflows the second-level cache.) Every sum still adds its terms one by one in contributor
// order, in double precision, with a plain multiply and a plain add (no fused
// multiply-add: the build compiles this file with -ffp-contract=off, and AVX2 has
// none), so each
// is exactly the sum a pixel-by-pixel walk makes, whichever build runs.
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

// The rows of the first pass (the rounded bytes of source rows scaled across, as
// doubles, three channels per pixel, ready to be multiplied) that a band of
// destination rows needs. Source rows come into it in order as the band reaches them
// and leave it when no later destination row of the band reads them: row r lives in
// slot r % Capacity, so the work picture is a few dozen rows, not the whole height
// (13 MB of doubles for a 2000 x 1500 photo, and as many page faults to map it).
// Each row is padded with zeros to whole chunks of the second pass; the first pass
// writes all the other values, so only the padding is cleared beforehand.
constexpr size_t kChunkValues = 32;
struct TWorkRows {
  static size_t Stride(int32_t columns) {
    return (static_cast<size_t>(columns) * 3 + kChunkValues - 1) / kChunkValues * kChunkValues;
  }
  // The rows live in memory, Stride(columns) * capacity doubles of the caller's.
  TWorkRows(int32_t columns, int32_t capacity, double* memory)
      : used(static_cast<size_t>(columns) * 3), stride(Stride(columns)), capacity(capacity), values(memory) {
    for (int32_t slot = 0; slot < capacity; ++slot)
      std::fill(values + stride * slot + used, values + stride * (slot + 1), 0.0);
  }
  double* Row(int32_t y) { return values + stride * static_cast<size_t>(y % capacity); }

  size_t used;
  size_t stride;
  int32_t capacity;
  double* values;
  int32_t next = 0;  // the first source row not scaled across yet
};

// The source rows destination row y reads: First .. Last of its contributor list.
struct TRowWindow {
  int32_t First;
  int32_t Last;
};

struct TRowWindows {
  std::vector<TRowWindow> Rows;
  // How many work rows a band must hold: every window with room for one block of the
  // first pass beyond it, or the whole source when the windows do not move down
  // steadily (then nothing is ever let go of).
  int32_t Capacity = 0;
};

TRowWindows FindRowWindows(const TContributorLists& rows, int32_t sh, int blockRows) {
  TRowWindows w;
  const size_t dh = rows.First.size() - 1;
  w.Rows.reserve(dh);
  bool steady = true;
  TRowWindow previous{0, -1};  // the last window that reads anything
  for (size_t y = 0; y < dh; ++y) {
    TRowWindow r{sh, -1};
    for (size_t k = rows.First[y]; k < rows.First[y + 1]; ++k) {
      r.First = std::min(r.First, rows.Items[k].Pixel);
      r.Last = std::max(r.Last, rows.Items[k].Pixel);
    }
    if (r.Last < 0) r = {0, -1};  // no contributors: the row is 0 and reads nothing
    if (r.Last >= 0) {
      if (previous.Last >= 0 && (r.First < previous.First || r.Last < previous.Last)) steady = false;
      w.Capacity = std::max(w.Capacity, r.Last - r.First + blockRows);
      previous = r;
    }
    w.Rows.push_back(r);
  }
  w.Capacity = steady ? std::min(std::max(w.Capacity, 1), sh) : sh;
  // Unsteady windows skip no rows either: a later window may reach back to them.
  if (!steady)
    for (TRowWindow& r : w.Rows) r.First = 0;
  return w;
}

// N pixels of one source row, one channel (shift 16 red, 8 green, 0 blue), as doubles.
template <int N>
[[gnu::always_inline]] inline typename TVectors<N>::TDouble ChannelOf(typename TVectors<N>::TInt pixels, int shift) {
  return __builtin_convertvector((pixels >> shift) & 0xFF, typename TVectors<N>::TDouble);
}

// Rows a[0..N) of an N x N block to its columns, in place.
template <int N>
[[gnu::always_inline]] inline void Transpose(typename TVectors<N>::TDouble* a) {
  using TDouble = typename TVectors<N>::TDouble;
  if constexpr (N == 2) {
    const TDouble r0 = __builtin_shufflevector(a[0], a[1], 0, 2), r1 = __builtin_shufflevector(a[0], a[1], 1, 3);
    a[0] = r0;
    a[1] = r1;
  } else {
    static_assert(N == 4);
    const TDouble t0 = __builtin_shufflevector(a[0], a[1], 0, 4, 2, 6);
    const TDouble t1 = __builtin_shufflevector(a[0], a[1], 1, 5, 3, 7);
    const TDouble t2 = __builtin_shufflevector(a[2], a[3], 0, 4, 2, 6);
    const TDouble t3 = __builtin_shufflevector(a[2], a[3], 1, 5, 3, 7);
    a[0] = __builtin_shufflevector(t0, t2, 0, 1, 4, 5);
    a[1] = __builtin_shufflevector(t1, t3, 0, 1, 4, 5);
    a[2] = __builtin_shufflevector(t0, t2, 2, 3, 6, 7);
    a[3] = __builtin_shufflevector(t1, t3, 2, 3, 6, 7);
  }
}

// One channel of N pixels of the block's 2N rows into those pixels' lanes (p: the
// channel's first lane of the first pixel), as whole vectors.
template <int N, int Shift>
[[gnu::always_inline]] inline void UnpackChannel(const typename TVectors<N>::TInt* pixels, double* p) {
  using TDouble = typename TVectors<N>::TDouble;
  constexpr int kLane = 6 * N;
#pragma GCC unroll 2
  for (int g = 0; g < 2; ++g) {
    TDouble block[N];
#pragma GCC unroll 4
    for (int r = 0; r < N; ++r) block[r] = ChannelOf<N>(pixels[g * N + r], Shift);
    Transpose<N>(block);
#pragma GCC unroll 4
    for (int q = 0; q < N; ++q) std::memcpy(p + q * kLane + g * N, &block[q], sizeof block[q]);
  }
}

// The block's `count` (up to 2N) source rows from y0 unpacked into lanes: for each
// source pixel its 3 x 2N channel values side by side (six vectors: red of the first
// N rows, red of the last N, then green, then blue). N pixels of every row are read
// at a time and turned in registers, so that each pixel's lanes are written as whole
// vectors; rows past the count read 0.
template <int N>
[[gnu::always_inline]] inline void UnpackRowBlock(const TBitmap& source, int32_t y0, int count, double* lanes) {
  using TInt = typename TVectors<N>::TInt;
  constexpr int kRows = 2 * N, kLane = 3 * kRows;
  const int32_t sw = source.Width();
  const uint32_t* src[kRows];
  for (int r = 0; r < kRows; ++r) src[r] = r < count ? source.ScanLine(y0 + r) : nullptr;
  int32_t x = 0;
  for (; x + N <= sw; x += N) {
    TInt pixels[kRows];
#pragma GCC unroll 8
    for (int r = 0; r < kRows; ++r) {
      if (src[r])
        std::memcpy(&pixels[r], src[r] + x, sizeof pixels[r]);
      else
        pixels[r] = TInt{};
    }
    double* p = lanes + static_cast<size_t>(x) * kLane;
    UnpackChannel<N, 16>(pixels, p);
    UnpackChannel<N, 8>(pixels, p + kRows);
    UnpackChannel<N, 0>(pixels, p + 2 * kRows);
  }
  for (; x < sw; ++x) {
    double* p = lanes + static_cast<size_t>(x) * kLane;
    for (int r = 0; r < kRows; ++r) {
      const uint32_t v = src[r] ? src[r][x] : 0;
      p[r] = PixelRed(v);
      p[kRows + r] = PixelGreen(v);
      p[2 * kRows + r] = PixelBlue(v);
    }
  }
}

// The six sums of one column of the block (its 6N channel values), rounded, to the
// work rows out[0 .. count) at column i.
template <int N>
[[gnu::always_inline]] inline void StoreColumn(const typename TVectors<N>::TDouble* sum, double* const* out,
                                               int count, int32_t i) {
  using TDouble = typename TVectors<N>::TDouble;
  constexpr int kRows = 2 * N, kLane = 3 * kRows, kVectors = 6;
  double bytes[kLane];
#pragma GCC unroll 6
  for (int v = 0; v < kVectors; ++v) {
    const TDouble b = ToBytes<N>(sum[v]);
    std::memcpy(bytes + N * v, &b, sizeof b);
  }
  // Value by value: a wider copy would straddle two of the vector stores just made,
  // and the processor cannot forward those to it (a stall on every column).
#pragma GCC unroll 16
  for (int r = 0; r < count; ++r) {
    double* o = out[r] + 3 * static_cast<size_t>(i);
    o[0] = bytes[r];
    o[1] = bytes[kRows + r];
    o[2] = bytes[2 * kRows + r];
  }
}

// Column i alone: its six sums over its contributors in order, stored.
template <int N>
[[gnu::always_inline]] inline void ScaleColumn(const TContributorLists& columns, const double* lanes, int32_t i,
                                               double* const* out, int count) {
  using TDouble = typename TVectors<N>::TDouble;
  constexpr int kLane = 6 * N, kVectors = 6;
  const TContributor* items = columns.Items.data();
  TDouble sum[kVectors] = {};
  for (size_t k = columns.First[i], end = columns.First[i + 1]; k < end; ++k) {
    const double* p = lanes + static_cast<size_t>(items[k].Pixel) * kLane;
    const TDouble w = Broadcast<N>(items[k].Weight);
#pragma GCC unroll 6
    for (int v = 0; v < kVectors; ++v) sum[v] += LoadDoubles<N>(p + N * v) * w;
  }
  StoreColumn<N>(sum, out, count, i);
}

// The sums of columns a0 and b0 (whose lists are both n long) side by side: twelve
// independent sums instead of six, so the adds do not wait on each other. Each sum
// still adds its own terms in its own order.
template <int N>
[[gnu::always_inline]] inline void SumColumnPair(const TContributor* a0, const TContributor* b0, size_t n,
                                                 const double* lanes, typename TVectors<N>::TDouble* sum0,
                                                 typename TVectors<N>::TDouble* sum1) {
  using TDouble = typename TVectors<N>::TDouble;
  constexpr int kLane = 6 * N, kVectors = 6;
  for (size_t k = 0; k < n; ++k) {
    const double* p0 = lanes + static_cast<size_t>(a0[k].Pixel) * kLane;
    const double* p1 = lanes + static_cast<size_t>(b0[k].Pixel) * kLane;
    const TDouble w0 = Broadcast<N>(a0[k].Weight), w1 = Broadcast<N>(b0[k].Weight);
#pragma GCC unroll 6
    for (int v = 0; v < kVectors; ++v) {
      sum0[v] += LoadDoubles<N>(p0 + N * v) * w0;
      sum1[v] += LoadDoubles<N>(p1 + N * v) * w1;
    }
  }
}

// First pass, one block: `count` (up to 2N) source rows from y0 scaled across into
// work. The rows are unpacked once into lanes, so one contributor updates 6N
// independent sums; columns are summed two at a time when their lists are as long.
template <int N>
[[gnu::always_inline]] inline void ScaleRowBlock(const TBitmap& source, const TContributorLists& columns,
                                                 int32_t y0, int count, TWorkRows& work, double* lanes) {
  using TDouble = typename TVectors<N>::TDouble;
  constexpr int kRows = 2 * N, kVectors = 6;
  const int32_t dw = static_cast<int32_t>(columns.First.size()) - 1;
  const TContributor* items = columns.Items.data();
  UnpackRowBlock<N>(source, y0, count, lanes);
  double* out[kRows];
  for (int r = 0; r < count; ++r) out[r] = work.Row(y0 + r);
  int32_t i = 0;
  for (; i + 1 < dw; i += 2) {
    const size_t a = columns.First[i], b = columns.First[i + 1], n = b - a;
    if (columns.First[i + 2] - b != n) {
      ScaleColumn<N>(columns, lanes, i, out, count);
      ScaleColumn<N>(columns, lanes, i + 1, out, count);
      continue;
    }
    TDouble sum0[kVectors] = {}, sum1[kVectors] = {};
    SumColumnPair<N>(items + a, items + b, n, lanes, sum0, sum1);
    StoreColumn<N>(sum0, out, count, i);
    StoreColumn<N>(sum1, out, count, i + 1);
  }
  if (i < dw) ScaleColumn<N>(columns, lanes, i, out, count);
}

// What one band of destination rows works with, allocated before any thread starts
// (so running out of memory is an exception of the caller's, not of a thread).
struct TBand {
  int32_t Begin;  // destination rows Begin .. End - 1
  int32_t End;
  TWorkRows Work;
  double* Lanes;  // the first pass's unpacked block
  std::vector<int32_t> Bytes;  // the second pass's row, as integers
  std::vector<const double*> In;  // the work rows of one destination row
};

// Both passes over one band: for each destination row, the source rows its window
// reaches are scaled across (whole blocks, in order, skipping rows no window reads),
// then the row sums whole work rows weighted by its contributors, 8N values at a time
// held in registers (eight independent sums, so the adds do not wait on each other). Each value still adds its terms in contributor order, exactly as
// a column-by-column walk would.
template <int N>
[[gnu::always_inline]] inline void ScaleBandWith(const TBitmap& source, const TContributorLists& columns,
                                                 const TContributorLists& rows, const TRowWindows& windows,
                                                 TBand& band, TBitmap& destination) {
  using TDouble = typename TVectors<N>::TDouble;
  using TInt = typename TVectors<N>::TInt;
  constexpr int kRows = 2 * N, kSums = 8;
  static_assert(kChunkValues % (kSums * N) == 0);
  const int32_t sh = source.Height(), dw = destination.Width();
  TWorkRows& work = band.Work;
  for (int32_t y = band.Begin; y < band.End; ++y) {
    const TRowWindow window = windows.Rows[y];
    if (window.Last >= 0) {
      work.next = std::max(work.next, window.First);
      while (work.next <= window.Last) {
        const int count = std::min<int32_t>(kRows, sh - work.next);
        ScaleRowBlock<N>(source, columns, work.next, count, work, band.Lanes);
        work.next += count;
      }
    }
    const size_t first = rows.First[y], n = rows.First[y + 1] - first;
    const double** rowsIn = band.In.data();
    for (size_t k = 0; k < n; ++k) rowsIn[k] = work.Row(rows.Items[first + k].Pixel);
    const TContributor* weights = rows.Items.data() + first;
    for (size_t x = 0; x < work.stride; x += kSums * N) {
      TDouble a[kSums] = {};
      for (size_t k = 0; k < n; ++k) {
        const double* p = rowsIn[k] + x;
        const TDouble w = Broadcast<N>(weights[k].Weight);
#pragma GCC unroll 8
        for (int v = 0; v < kSums; ++v) a[v] += LoadDoubles<N>(p + v * N) * w;
      }
      TInt b[kSums];
#pragma GCC unroll 8
      for (int v = 0; v < kSums; ++v) b[v] = __builtin_convertvector(ToBytes<N>(a[v]), TInt);
      std::memcpy(band.Bytes.data() + x, b, sizeof b);
    }
    uint32_t* dst = destination.ScanLine(y);
    const int32_t* c = band.Bytes.data();
    for (int32_t x = 0; x < dw; ++x, c += 3)
      dst[x] = RGBToPixel(static_cast<uint32_t>(c[0]), static_cast<uint32_t>(c[1]), static_cast<uint32_t>(c[2]));
  }
}

using TScaleBand = void (*)(const TBitmap&, const TContributorLists&, const TContributorLists&, const TRowWindows&,
                            TBand&, TBitmap&);

void ScaleBandPortable(const TBitmap& source, const TContributorLists& columns, const TContributorLists& rows,
                       const TRowWindows& windows, TBand& band, TBitmap& destination) {
  ScaleBandWith<2>(source, columns, rows, windows, band, destination);
}

#if defined(__x86_64__) || defined(__i386__)
[[gnu::target("avx2")]] void ScaleBandAvx2(const TBitmap& source, const TContributorLists& columns,
                                           const TContributorLists& rows, const TRowWindows& windows, TBand& band,
                                           TBitmap& destination) {
  ScaleBandWith<4>(source, columns, rows, windows, band, destination);
}

bool HasAvx2() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has;
}
#endif

// The loops of the build asked for, with the width of its vectors (in doubles).
struct TLoops {
  TScaleBand Scale;
  int Width;
};

TLoops ChooseLoops(TResampleLoops loops) {
#if defined(__x86_64__) || defined(__i386__)
  if (loops == TResampleLoops::Best && HasAvx2()) return {ScaleBandAvx2, 4};
#else
  (void)loops;
#endif
  return {ScaleBandPortable, 2};
}

// The memory of the bands' work rows and unpacked blocks. The calling thread keeps it
// between calls (up to 32 MB): a texture is fitted at every build, and mapping fresh
// memory for each fit (a page fault a page, and the unmapping's interruption of the
// other core) costs more than the arithmetic of the tile.
double* Scratch(size_t doubles, std::unique_ptr<double[]>& once) {
  constexpr size_t kKept = size_t{4} << 20;
  if (doubles > kKept) {
    once.reset(new double[doubles]);
    return once.get();
  }
  thread_local std::unique_ptr<double[]> kept;
  thread_local size_t keptSize = 0;
  if (keptSize < doubles) {
    kept.reset();
    keptSize = 0;
    kept.reset(new double[doubles]);
    keptSize = doubles;
  }
  return kept.get();
}

// How many bands (threads) a job gets when the caller leaves it to the scaler: one
// for a small job (starting a thread costs about as much as 50,000 multiply-adds),
// otherwise one per core, each with a few dozen rows at least.
int ChooseBands(int threads, size_t multiplyAdds, int32_t dh) {
  if (threads <= 0) {
    constexpr size_t kPerThread = size_t{1} << 20;
    if (multiplyAdds < 2 * kPerThread) return 1;
    threads = static_cast<int>(std::min<size_t>(std::max(1u, std::thread::hardware_concurrency()),
                                                multiplyAdds / kPerThread));
    threads = std::min(threads, std::max(1, dh / 32));
  }
  return std::clamp(threads, 1, std::max(1, dh));
}

// The lists of both directions. A shrink by a large factor calls the filter many
// times a list (a Lanczos3 shrink by five: 31 calls a list, two sines each), so when
// more than one thread may be used, the rows' lists are built on a second thread
// while this one builds the columns'. The lists are the same either way.
void BuildBothContributors(int32_t dw, int32_t sw, int32_t dh, int32_t sh, TFilterFunc filter, double width,
                           int threads, TContributorLists& columns, TContributorLists& rows) {
  const double scale = ScaleFactor(dh, sh);
  const double calls = dh * (2.0 * (scale < 1.0 ? width / scale : width) + 1.0);
  const bool second = threads != 1 && calls >= 8192 && (threads > 1 || std::thread::hardware_concurrency() > 1);
  std::thread helper;
  std::exception_ptr failed;
  if (second) {
    try {
      helper = std::thread([&] {
        try {
          rows = BuildContributors(dh, sh, filter, width);
        } catch (...) {
          failed = std::current_exception();
        }
      });
    } catch (const std::system_error&) {
    }
  }
  try {
    columns = BuildContributors(dw, sw, filter, width);
  } catch (...) {
    if (helper.joinable()) helper.join();
    throw;
  }
  if (helper.joinable()) {
    helper.join();
    if (failed) std::rethrow_exception(failed);
  } else {
    rows = BuildContributors(dh, sh, filter, width);
  }
}

}  // namespace

// --- The two passes ---------------------------------------------------------------

void ResampleImage(const TBitmap& source, TBitmap& destination, TFilterFunc filter, double width,
                   TResampleLoops loops, int threads) {
  const int32_t sw = source.Width(), sh = source.Height();
  if (sw < 1 || sh < 1) throw std::runtime_error("Source bitmap too small");
  if (!(width > 0.0 && width <= 1000.0)) throw std::invalid_argument("ResampleImage: bad filter width");
  const int32_t dw = destination.Width(), dh = destination.Height();
  if (dw < 1 || dh < 1) return;
  // Destination rows are written while later source rows are still to be read: a
  // bitmap scaled onto itself is read from a copy.
  if (&source == &destination) {
    const TBitmap copy = source;
    return ResampleImage(copy, destination, filter, width, loops, threads);
  }

  const TLoops chosen = ChooseLoops(loops);
  TContributorLists columns, rows;
  BuildBothContributors(dw, sw, dh, sh, filter, width, threads, columns, rows);
  const TRowWindows windows = FindRowWindows(rows, sh, 2 * chosen.Width);

  // Bands of destination rows, each scaling across the source rows its own windows
  // reach (the few rows where two bands meet are scaled by both, to the same values).
  const size_t multiplyAdds = static_cast<size_t>(sh) * columns.Items.size() * 3 + rows.Items.size() * dw * 3;
  const int count = ChooseBands(threads, multiplyAdds, dh);
  size_t mostRows = 0;
  for (int32_t y = 0; y < dh; ++y) mostRows = std::max(mostRows, rows.First[y + 1] - rows.First[y]);
  const size_t workDoubles = TWorkRows::Stride(dw) * static_cast<size_t>(windows.Capacity);
  const size_t laneDoubles = static_cast<size_t>(sw) * 6 * chosen.Width;
  std::unique_ptr<double[]> once;
  double* memory = Scratch((workDoubles + laneDoubles) * count, once);
  std::vector<TBand> bands;
  bands.reserve(count);
  for (int b = 0; b < count; ++b) {
    const int32_t begin = static_cast<int32_t>(int64_t{dh} * b / count);
    const int32_t end = static_cast<int32_t>(int64_t{dh} * (b + 1) / count);
    double* own = memory + (workDoubles + laneDoubles) * b;
    bands.push_back({begin, end, TWorkRows(dw, windows.Capacity, own), own + workDoubles, {}, {}});
    bands.back().Bytes.resize(bands.back().Work.stride);
    bands.back().In.resize(mostRows);
  }
  // A band whose thread cannot be started is scaled here, after the first.
  std::vector<std::thread> helpers;
  helpers.reserve(count - 1);
  std::vector<int> here{0};
  for (int b = 1; b < count; ++b) {
    try {
      helpers.emplace_back(chosen.Scale, std::cref(source), std::cref(columns), std::cref(rows),
                           std::cref(windows), std::ref(bands[b]), std::ref(destination));
    } catch (const std::system_error&) {
      here.push_back(b);
    }
  }
  for (const int b : here) chosen.Scale(source, columns, rows, windows, bands[b], destination);
  for (std::thread& t : helpers) t.join();
}

}  // namespace qz
