// Textured spans of the z-buffer: the light level of each pixel brightens or darkens
// the colours of a texture image tiled over the picture from its top-left pixel.

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

#include "base/Numeric.h"
#include "render/View3D.h"
#include "render/ZBuffer.h"

namespace qz {

namespace {

// One channel t of a texel at light level `level` around the neutral level m: its own
// value at m, darker toward black at level 0, brighter toward white at level 255.
// With m = 0 the only level at or below it is 0 itself, the neutral level, so the
// texel keeps its value there instead of dividing by zero.
inline int32_t LitChannel(int32_t t, int32_t level, int32_t m) {
  if (level <= m) return m > 0 ? t * level / m : t;
  return t + (255 - t) * (level - m) / (255 - m);  // level > m, so m < 255
}

// Nearest integer, halves to even, of a level accumulator in 0..255: a float of
// magnitude 1.5 * 2^23 has no fraction bits, so the addition itself rounds (to
// nearest, ties to even) and the subtraction is exact.
inline int32_t RoundLevel(float acc) {
  constexpr float Shift = 12582912.0f;
  return static_cast<int32_t>((acc + Shift) - Shift);
}

// A texel lit through its level's shade table, in place of the pixel (whose fourth
// byte stays).
inline uint32_t Shaded(uint32_t pixel, uint32_t texel, const uint32_t* shade) {
  return (pixel & 0xFF000000u) | shade[PixelRed(texel)] | shade[256 + PixelGreen(texel)] | shade[512 + PixelBlue(texel)];
}

// A level's table: what each channel value becomes, lit at that level around the
// neutral level m and tinted, in its place in a pixel (see TTextureShades). Kept out
// of line: it runs once per level, and the span loop keeps its registers.
[[gnu::noinline]] void MakeShadeTable(uint32_t* table, int32_t level, int32_t m, TColor tint) {
  const uint32_t r = ColorRed(tint), g = ColorGreen(tint), b = ColorBlue(tint);
  for (int32_t c = 0; c < 256; ++c) {
    const uint32_t lit = static_cast<uint8_t>(LitChannel(c, level, m));
    table[c] = RGBToPixel(lit * r / 255, 0, 0);
    table[256 + c] = RGBToPixel(0, lit * g / 255, 0);
    table[512 + c] = RGBToPixel(0, 0, lit * b / 255);
  }
}

}  // namespace

const uint32_t* TZBuffer::ShadeTable(TTextureShades& shades, int32_t level, int32_t m, TColor tint) {
  uint32_t* table = shades.Tables.get() + static_cast<size_t>(level) * TTextureShades::TableSize;
  if (!shades.Made[level]) {
    MakeShadeTable(table, level, m, tint);
    shades.Made[level] = true;
  }
  return table;
}

// Draws pixels X1..X2 of image row Row from texture row (Row mod height), column
// (x mod width), with the level running from A to B and the result tinted by Tint.
// A span of one pixel is drawn too (at level A), as a palette span of one pixel is:
// leaving it out would let the background show through textured letters wherever a
// span was trimmed to a single column.
void TZBuffer::TexturedSpan(int32_t row, int32_t x1, int32_t x2, int32_t a, int32_t b, TBitmap& bitmap,
                            int lane) {
  if (x1 > x2 || !Texture || Texture->Empty()) return;
  const TBitmap& tex = *Texture;
  const int32_t tw = tex.Width(), th = tex.Height();
  // The neutral level comes from the design (Brightness) and may hold anything.
  const int32_t m = Clamp(MidLevel, MinLevel, MaxLevel);

  // Every texel goes through its level's table instead of two divisions a channel.
  std::unique_ptr<TTextureShades>& own = shades_[lane];
  if (!own) own = std::make_unique<TTextureShades>();
  TTextureShades& shades = *own;
  if (shades.Mid != m || shades.Tint != Tint) {
    shades.Mid = m;
    shades.Tint = Tint;
    shades.Made.fill(false);
  }

  const float step = x2 > x1 ? static_cast<float>(b - a) / static_cast<float>(x2 - x1) : 0.0f;
  float acc = static_cast<float>(a);
  const uint32_t* texRow = tex.ScanLine(row % th);
  const uint32_t* texEnd = texRow + tw;
  const uint32_t* texel = texRow + x1 % tw;
  uint32_t* pixel = bitmap.ScanLine(row) + x1;
  uint32_t* const end = bitmap.ScanLine(row) + x2 + 1;
  // The level changes slowly along a span: its table is looked up again only when it does.
  int32_t current = Clamp(RoundLevel(acc), MinLevel, MaxLevel);
  const uint32_t* shade = ShadeTable(shades, current, m, Tint);
  if (a == b) {
    // A flat span (a cap, a flat-shaded face) keeps its level: one table throughout,
    // taken a texture row's run at a time.
    while (pixel != end) {
      const size_t run = std::min<size_t>(static_cast<size_t>(end - pixel), static_cast<size_t>(texEnd - texel));
      for (size_t i = 0; i < run; ++i) pixel[i] = Shaded(pixel[i], texel[i], shade);
      pixel += run;
      texel += run;
      if (texel == texEnd) texel = texRow;
    }
    return;
  }
  for (; pixel != end; ++pixel) {
    const int32_t level = Clamp(RoundLevel(acc), MinLevel, MaxLevel);
    acc += step;
    if (level != current) {
      current = level;
      shade = ShadeTable(shades, level, m, Tint);
    }
    const uint32_t t = *texel;
    if (++texel == texEnd) texel = texRow;
    *pixel = Shaded(*pixel, t, shade);
  }
}

namespace {

void SetTexture(TBitmap& texture, bool& textured, TTexturePicture& fittedFrom, TBitmap&& bitmap) {
  textured = false;
  fittedFrom = nullptr;
  if (bitmap.Width() <= 1 || bitmap.Height() <= 1) return;
  texture = std::move(bitmap);
  uint32_t* p = texture.Data();
  for (size_t i = 0, n = static_cast<size_t>(texture.Width()) * texture.Height(); i < n; ++i) p[i] &= 0x00FFFFFFu;
  textured = true;
}

}  // namespace

void TView3D::SetTextTexture(TBitmap bitmap) { SetTexture(TextTexture, TextTextured, TextFittedFrom, std::move(bitmap)); }
void TView3D::SetButtonTexture(TBitmap bitmap) {
  SetTexture(ButtonTexture, ButtonTextured, ButtonFittedFrom, std::move(bitmap));
}

}  // namespace qz
