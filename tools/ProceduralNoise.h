// Periodic noise for the texture tool: every function here repeats with the picture,
// so a texture made from it tiles without a seam. Coordinates u, v run over [0, 1)
// across the picture; a "period" is the number of lattice cells across it, always a
// whole number, which is what makes the pattern wrap.
//
//   double n = Fbm(u, v, 4, 5, seed);            // about -1..1, 5 octaves from 4 cells
//   double d = WorleyEdge(u, v, 8, seed);        // 0 on the border between two cells
//
// Everything is a pure function of its arguments and a fixed seed: running the tool
// twice gives the same bytes.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace qz::tools {

constexpr double Pi = 3.14159265358979323846;

// A well-mixed 32-bit hash of a lattice point and a seed.
inline uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B9u ^ x * 0x85EBCA6Bu ^ y * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

// 0 <= Unit < 1 from a hash.
inline double Unit(uint32_t h) { return h / 4294967296.0; }

inline int Wrap(int i, int period) {
  const int m = i % period;
  return m < 0 ? m + period : m;
}

inline double Fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }
inline double Lerp(double a, double b, double t) { return a + (b - a) * t; }
inline double Smooth(double e0, double e1, double x) {
  const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// Gradient noise on a lattice of px by py cells that wraps; x in 0..px, y in 0..py.
// About -0.7..0.7.
inline double GradientNoise(double x, double y, int px, int py, uint32_t seed) {
  const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  const double fx = x - x0, fy = y - y0;
  auto corner = [&](int dx, int dy) {
    const double a = 2 * Pi * Unit(Hash(Wrap(x0 + dx, px), Wrap(y0 + dy, py), seed));
    return std::cos(a) * (fx - dx) + std::sin(a) * (fy - dy);
  };
  const double u = Fade(fx), v = Fade(fy);
  return Lerp(Lerp(corner(0, 0), corner(1, 0), u), Lerp(corner(0, 1), corner(1, 1), u), v);
}

// Fractal sum of octaves, each with twice the cells of the one before and gain times
// its amplitude; px, py cells across and down for the first octave. Normalised to
// about -1..1.
inline double FbmAniso(double u, double v, int px, int py, int octaves, uint32_t seed, double gain = 0.5) {
  double sum = 0, amplitude = 1, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amplitude * GradientNoise(u * px, v * py, px, py, seed + 7919u * o);
    norm += amplitude;
    amplitude *= gain;
    px *= 2;
    py *= 2;
  }
  return sum / norm * 1.6;
}

inline double Fbm(double u, double v, int period, int octaves, uint32_t seed, double gain = 0.5) {
  return FbmAniso(u, v, period, period, octaves, seed, gain);
}

// Cellular noise on cells x cells squares that wrap, one feature point per square.
// Gives the distances to the nearest (f1) and second nearest (f2) feature point in
// cell units and the hash of the nearest point's square (a stable id of the cell).
struct TWorley {
  double f1 = 1e9;
  double f2 = 1e9;
  uint32_t id = 0;
};

inline TWorley Worley(double u, double v, int cells, uint32_t seed, double jitter = 0.8) {
  const double x = u * cells, y = v * cells;
  const int cx = static_cast<int>(std::floor(x)), cy = static_cast<int>(std::floor(y));
  TWorley w;
  for (int dy = -2; dy <= 2; ++dy)
    for (int dx = -2; dx <= 2; ++dx) {
      const int gx = cx + dx, gy = cy + dy;
      const uint32_t h = Hash(Wrap(gx, cells), Wrap(gy, cells), seed);
      const double px = gx + 0.5 + jitter * (Unit(h) - 0.5);
      const double py = gy + 0.5 + jitter * (Unit(Hash(h, 17, seed)) - 0.5);
      const double d = std::hypot(px - x, py - y);
      if (d < w.f1) {
        w.f2 = w.f1;
        w.f1 = d;
        w.id = h;
      } else if (d < w.f2) {
        w.f2 = d;
      }
    }
  return w;
}

}  // namespace qz::tools
