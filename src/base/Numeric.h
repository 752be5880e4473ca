// The numeric helpers every subsystem shares: rounding, truncating division,
// 16.16 fixed point and single-precision storage.
//
// Rounding to the nearest integer is always half to even (0.5 -> 0, 1.5 -> 2,
// -2.5 -> -2): many renders land exactly on halves, and the result must not depend
// on which helper a piece of code happened to call. Never use std::round for it.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace qz {

// Nearest integer, halves to even, saturated to the int32 range (NaN gives 0).
// std::rint rounds in the current mode, which is the default, to nearest with ties to
// even, exactly as std::nearbyint does; it only may raise the inexact flag, which
// nothing here reads, and so spares the save and restore of the whole floating-point
// environment that nearbyint makes on every call.
inline int32_t RoundHalfEven(long double v) {
  if (std::isnan(v)) return 0;
  const long double r = std::rint(v);
  if (r >= 2147483647.0L) return std::numeric_limits<int32_t>::max();
  if (r <= -2147483648.0L) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(r);
}

// Integer division truncating toward zero (what C++ does; named so the intent shows
// where the design says "div"). A zero divisor yields 0 instead of a trap.
inline int32_t DivTrunc(int64_t a, int64_t b) {
  if (b == 0) return 0;
  int64_t q = a / b;
  if (q > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (q < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(q);
}

// A sum or product formed in 64 bits, stored in a 32-bit field: saturated instead of
// wrapped, so coordinates from hostile files stay ordered.
inline int32_t Saturate32(int64_t v) {
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

// A single-precision field stores a value computed in higher precision.
inline float ToFloat32(long double v) { return static_cast<float>(v); }

// Clamps into lo..hi.
template <typename T>
constexpr T Clamp(T v, T lo, T hi) { return v < lo ? lo : (hi < v ? hi : v); }

// --- 16.16 fixed point (the font engine's FIXED) -------------------------------
// A FIXED is a 16-bit unsigned fraction and a 16-bit signed integer part; as a
// 32-bit two's-complement number it is the value times 65536.
struct TFixed {
  uint16_t fract = 0;
  int16_t value = 0;
};

inline int32_t FixedToRaw(TFixed f) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(f.value)) << 16 | f.fract);
}
inline TFixed RawToFixed(int32_t raw) {
  TFixed f;
  f.fract = static_cast<uint16_t>(static_cast<uint32_t>(raw) & 0xFFFF);
  f.value = static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(raw) >> 16));
  return f;
}
// To an integer for straight-line points: the integer part, plus one when the
// fraction is a half or more (halves move upward, negatives included: -1.5 -> -1).
inline int32_t FixedToInt(TFixed f) { return f.value + (f.fract >= 32768 ? 1 : 0); }
// To a number for spline arithmetic.
inline double FixedToDouble(TFixed f) { return f.value + f.fract / 65536.0; }
// Mid-point of two FIXED values: summed as 32-bit numbers, halved toward zero.
inline TFixed FixedMid(TFixed a, TFixed b) {
  int64_t sum = static_cast<int64_t>(FixedToRaw(a)) + FixedToRaw(b);
  return RawToFixed(static_cast<int32_t>(sum / 2));
}

}  // namespace qz
