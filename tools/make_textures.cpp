// make_textures: draws the texture images of the installation (data/Textures) from
// periodic noise, so every texture tiles without a seam, and writes each through the
// program's own writers: JPEG (EncodeJpeg), GIF (colour reduction and our GIF writer)
// and 24-bit BMP. Fixed seeds: running it again gives the same files.
//
//   build/tools/make_textures data/Textures [PNG_FOLDER]
//
// With a second folder it also writes every texture there as a PNG tiled 2 x 2, to
// look at the seams.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ProceduralNoise.h"
#include "palette/ColorReduction.h"
#include "image/formats/GifWriter.h"
#include "image/Bitmap.h"
#include "image/formats/BmpWriter.h"
#include "image/formats/JpegWriter.h"
#include "image/formats/PngFile.h"

namespace {

using namespace qz;
using namespace qz::tools;

struct TRgbF {
  double r, g, b;
};

TRgbF Mix(TRgbF a, TRgbF b, double t) { return {Lerp(a.r, b.r, t), Lerp(a.g, b.g, t), Lerp(a.b, b.b, t)}; }
TRgbF Scale(TRgbF a, double k) { return {a.r * k, a.g * k, a.b * k}; }

// Colour at (u, v) of the picture, and the pixel (x, y) it stands for.
using TPaint = std::function<TRgbF(double u, double v, int x, int y)>;

enum class TFormat { Jpeg, Gif, Bmp };

struct TTextureDef {
  const char* File;
  int Width;
  int Height;
  TFormat Format;
  TPaint Paint;
};

// Pixel noise: a hash of the pixel, wrapped to the picture, -0.5..0.5.
double Grain(int x, int y, uint32_t seed) { return Unit(Hash(static_cast<uint32_t>(x), static_cast<uint32_t>(y), seed)) - 0.5; }

// Horizontal planks of a light wood: growth rings whose count down the picture is a
// whole number, bent by low noise; each ring fades from pale early wood to a thin
// dark band of late wood; fine fibres run along the grain.
TRgbF Wood(double u, double v, int x, int y) {
  const double bend = FbmAniso(u, v, 1, 2, 2, 11) * 1.5 + FbmAniso(u, v, 2, 8, 2, 12) * 0.18;
  const double rings = v * 11 + bend;
  const double t = rings - std::floor(rings);
  const double late = Smooth(0.55, 0.88, t) * (1 - Smooth(0.9, 1.0, t));
  const double fibre = FbmAniso(u, v, 2, 128, 2, 13) * 0.6 + FbmAniso(u, v, 8, 64, 2, 15) * 0.3 + Grain(x, y, 14) * 0.15;
  const TRgbF early{222, 176, 122}, mid{196, 142, 88}, dark{132, 80, 42};
  const TRgbF ring = Mix(Mix(early, mid, t * 0.7), dark, late * 0.8);
  return Scale(ring, 1 + fibre * 0.14);
}

// White marble with grey veins that follow a turbulent sine; a faint warm cloudiness.
TRgbF Marble(double u, double v, int, int) {
  const double turb = Fbm(u, v, 3, 6, 21, 0.55);
  const double s = std::sin(2 * Pi * (u * 2 + v * 1) + turb * 5.5);
  const double vein = std::pow(1 - std::fabs(s), 7.0);
  const double fine = std::pow(1 - std::fabs(std::sin(2 * Pi * (u * 3 - v * 2) + Fbm(u, v, 4, 5, 22) * 7)), 18.0);
  const double cloud = Fbm(u, v, 2, 4, 23) * 0.5 + 0.5;
  const TRgbF base = Mix(TRgbF{238, 235, 228}, TRgbF{222, 218, 212}, cloud);
  return Mix(Mix(base, TRgbF{120, 122, 128}, vein * 0.8), TRgbF{150, 150, 156}, fine * 0.45);
}

// Brushed steel: long horizontal streaks of every width over a soft sheen.
TRgbF BrushedMetal(double u, double v, int x, int y) {
  const double streaks = FbmAniso(u, v, 1, 64, 3, 31) * 0.6 + FbmAniso(u, v, 2, 256, 1, 32) * 0.4;
  const double sheen = Fbm(u, v, 1, 2, 33) * 0.5;
  const double g = 168 + streaks * 30 + sheen * 18 + Grain(x, y, 34) * 6;
  return {g, g + 2, g + 6};
}

// Flagstones: cellular stones of varied warm greys, dark joints between them and a
// grainy surface.
TRgbF Stone(double u, double v, int x, int y) {
  const double warp = Fbm(u, v, 4, 3, 41) * 0.06;
  const TWorley w = Worley(u + warp, v - warp, 6, 42, 0.75);
  const double edge = w.f2 - w.f1;
  const double tone = Unit(w.id) - 0.5;
  const TRgbF stone = Mix(TRgbF{158, 150, 138}, TRgbF{196, 188, 172}, Unit(w.id));
  const double surface = Fbm(u, v, 8, 4, 43) * 0.10 + Grain(x, y, 44) * 0.08 + tone * 0.04;
  const TRgbF lit = Scale(stone, 1 + surface);
  const double joint = 1 - Smooth(0.04, 0.12, edge);
  return Mix(lit, TRgbF{78, 72, 66}, joint * 0.9);
}

// Carbon fibre: a 2 x 2 twill of tows 8 pixels wide, each tow shaded like a flat
// cylinder across its width, with fine fibres along it.
TRgbF Carbon(double, double, int x, int y) {
  constexpr int Cell = 8;
  const int i = x / Cell, j = y / Cell;
  const bool across = (i + j) % 4 < 2;  // the tow on top runs left to right
  const double across01 = ((across ? y : x) % Cell + 0.5) / Cell;
  const double along01 = ((across ? x : y) % Cell + 0.5) / Cell;
  const double profile = std::sin(Pi * across01);                  // bright in the middle of the tow
  const double ends = 0.82 + 0.18 * std::sin(Pi * along01);        // darker where it dives under
  const double fibres = Grain(across ? 0 : x, across ? y : 0, 51) * 0.25 + Grain(x, y, 52) * 0.08;
  const double level = (0.25 + 0.75 * profile) * ends + fibres * 0.3;
  const double g = 24 + 92 * std::clamp(level, 0.0, 1.2);
  return across ? TRgbF{g, g, g * 1.04} : TRgbF{g * 0.9, g * 0.9, g * 0.96};
}

// Handmade paper: warm off-white, cloudy fibre density and short fibres.
TRgbF Paper(double u, double v, int x, int y) {
  const double cloud = Fbm(u, v, 4, 5, 61) * 0.5;
  const double fibres = FbmAniso(u, v, 16, 4, 2, 62) * 0.3 + FbmAniso(u, v, 4, 16, 2, 63) * 0.3;
  const double k = 1 + cloud * 0.07 + fibres * 0.06 + Grain(x, y, 64) * 0.04;
  return Scale(TRgbF{240, 234, 218}, k);
}

// Water seen from above: deep blue with the bright network of caustics, two layers
// of ridged noise drifting across each other.
TRgbF Water(double u, double v, int, int) {
  auto ridge = [&](uint32_t seed, int period) {
    const double n = Fbm(u, v, period, 3, seed, 0.45);
    return std::pow(1 - std::min(1.0, std::fabs(n) * 2.2), 4.0);
  };
  const double c = std::max(ridge(71, 3), ridge(72, 4) * 0.8);
  const double depth = Fbm(u, v, 2, 3, 73) * 0.5 + 0.5;
  const TRgbF deep = Mix(TRgbF{18, 78, 140}, TRgbF{30, 110, 168}, depth);
  return Mix(deep, TRgbF{170, 225, 245}, c * 0.85);
}

// Polished gold: warm yellow with a soft sheen and faint polishing marks.
TRgbF Gold(double u, double v, int x, int y) {
  const double sheen = Fbm(u, v, 2, 3, 81) * 0.5 + 0.5;
  const double marks = FbmAniso(u, v, 2, 48, 2, 82);
  const TRgbF base = Mix(TRgbF{176, 128, 38}, TRgbF{236, 196, 92}, sheen);
  return Scale(base, 1 + marks * 0.05 + Grain(x, y, 83) * 0.025);
}

// Pink granite: a mosaic of small crystals, most of them rose feldspar in several
// shades, some white quartz, some black mica, each with a faint sparkle.
TRgbF Granite(double u, double v, int x, int y) {
  const double warp = Fbm(u, v, 8, 2, 91) * 0.01;
  const TWorley w = Worley(u + warp, v + warp, 40, 92, 0.9);
  const double pick = Unit(w.id), shade = Unit(Hash(w.id, 3, 93));
  TRgbF c;
  if (pick < 0.22) c = Mix(TRgbF{34, 32, 36}, TRgbF{70, 64, 66}, shade);
  else if (pick < 0.40) c = Mix(TRgbF{200, 194, 192}, TRgbF{236, 232, 230}, shade);
  else c = Mix(TRgbF{168, 108, 98}, TRgbF{214, 156, 140}, shade);
  const double crack = 1 - Smooth(0.0, 0.08, w.f2 - w.f1);
  return Scale(Mix(c, TRgbF{90, 70, 70}, crack * 0.35), 1 + Grain(x, y, 94) * 0.1);
}

// A summer sky: a blue ground of gently varying depth with soft white clouds.
TRgbF Clouds(double u, double v, int, int) {
  const double n = Fbm(u, v, 3, 6, 101, 0.55);
  const double cover = Smooth(-0.1, 0.6, n);
  const double depth = Fbm(u, v, 2, 2, 102) * 0.5 + 0.5;
  const TRgbF sky = Mix(TRgbF{66, 130, 210}, TRgbF{116, 172, 232}, depth);
  return Mix(sky, TRgbF{250, 250, 252}, cover);
}

const std::vector<TTextureDef>& Textures() {
  static const std::vector<TTextureDef> defs = {
      {"Wood.jpg", 256, 256, TFormat::Jpeg, Wood},
      {"Marble.jpg", 256, 256, TFormat::Jpeg, Marble},
      {"BrushedMetal.jpg", 256, 256, TFormat::Jpeg, BrushedMetal},
      {"Water.jpg", 256, 256, TFormat::Jpeg, Water},
      {"Clouds.jpg", 256, 256, TFormat::Jpeg, Clouds},
      {"Stone.gif", 256, 256, TFormat::Gif, Stone},
      {"Carbon.gif", 128, 128, TFormat::Gif, Carbon},
      {"Granite.gif", 192, 192, TFormat::Gif, Granite},
      {"Paper.bmp", 128, 128, TFormat::Bmp, Paper},
      {"Gold.bmp", 128, 128, TFormat::Bmp, Gold},
  };
  return defs;
}

uint32_t ToByte(double c) { return static_cast<uint32_t>(std::clamp(std::lround(c), 0L, 255L)); }

TBitmap Draw(const TTextureDef& def) {
  TBitmap image(def.Width, def.Height);
  for (int y = 0; y < def.Height; ++y)
    for (int x = 0; x < def.Width; ++x) {
      // Pixel centres, so column 0 and the last column sit symmetrically about the seam.
      const TRgbF c = def.Paint((x + 0.5) / def.Width, (y + 0.5) / def.Height, x, y);
      image.SetPixel(x, y, RGBToPixel(ToByte(c.r), ToByte(c.g), ToByte(c.b)));
    }
  return image;
}

void Write(const TTextureDef& def, const TBitmap& image, const std::string& path) {
  switch (def.Format) {
    case TFormat::Jpeg:
      WriteJpeg(path, image, 88);
      break;
    case TFormat::Gif:
      // No dithering: the serpentine error walk does not wrap, so it would mark the seam.
      WriteGifFile(path, MakeIndexedImage(image, TPaletteKind::Optimized, TDitherMethod::None, 8));
      break;
    case TFormat::Bmp:
      WriteBmp24(path, image);
      break;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: make_textures OUT_FOLDER [PNG_FOLDER]\n");
    return 2;
  }
  try {
    const std::string out = std::string(argv[1]) + "/";
    std::filesystem::create_directories(out);
    const std::string png = argc == 3 ? std::string(argv[2]) + "/" : std::string();
    if (!png.empty()) std::filesystem::create_directories(png);
    for (const TTextureDef& def : Textures()) {
      const TBitmap image = Draw(def);
      Write(def, image, out + def.File);
      if (!png.empty()) {
        TBitmap tiled(2 * def.Width, 2 * def.Height);
        for (int k = 0; k < 4; ++k) tiled.Draw(k % 2 * def.Width, k / 2 * def.Height, image);
        WritePng(png + def.File + ".png", tiled);
      }
      std::printf("%s %dx%d, %ju bytes\n", def.File, def.Width, def.Height,
                  static_cast<uintmax_t>(std::filesystem::file_size(out + def.File)));
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_textures: %s\n", e.what());
    return 1;
  }
  return 0;
}
