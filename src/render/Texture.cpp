// Textured spans of the z-buffer: the light level of each pixel brightens or darkens
// the colours of a texture image tiled over the picture from its top-left pixel.

#include <array>
#include <memory>

#include "platform/Numeric.h"
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

}  // namespace

// Draws pixels X1..X2 of image row Row from texture row (Row mod height), column
// (x mod width), with the level running from A to B and the result tinted by Tint.
// A span of one pixel is drawn too (at level A), as a palette span of one pixel is:
// leaving it out would let the background show through textured letters wherever a
// span was trimmed to a single column.
void TZBuffer::TexturedSpan(int32_t Row, int32_t X1, int32_t X2, int32_t A, int32_t B, TBitmap& Bitmap) {
  if (X1 > X2 || !Texture || Texture->Empty()) return;
  const TBitmap& tex = *Texture;
  const int32_t tw = tex.Width(), th = tex.Height();
  // The neutral level comes from the design (Brightness) and may hold anything.
  const int32_t m = Clamp(MidLevel, MinLevel, MaxLevel);

  // Every pixel's channels go through two tables instead of two divisions each.
  if (!shades_) shades_ = std::make_unique<TTextureShades>();
  TTextureShades& sh = *shades_;
  if (sh.Mid != m || sh.Tint != Tint) {
    sh.Mid = m;
    sh.Tint = Tint;
    const uint32_t tint[3] = {ColorRed(Tint), ColorGreen(Tint), ColorBlue(Tint)};
    for (int ch = 0; ch < 3; ++ch)
      for (uint32_t c = 0; c < 256; ++c) sh.Tinted[ch][c] = static_cast<uint8_t>(c * tint[ch] / 255);
    sh.Made.fill(false);
  }

  const float step = X2 > X1 ? static_cast<float>(B - A) / static_cast<float>(X2 - X1) : 0.0f;
  float acc = static_cast<float>(A);
  const uint32_t* texels = tex.ScanLine(Row % th);
  uint32_t* pixels = Bitmap.ScanLine(Row);
  int32_t tx = X1 % tw;
  for (int32_t x = X1; x <= X2; ++x) {
    const int32_t level = Clamp(RoundLevel(acc), MinLevel, MaxLevel);
    acc += step;
    std::array<uint8_t, 256>& lit = sh.Lit[level];
    if (!sh.Made[level]) {
      for (int32_t t = 0; t < 256; ++t) lit[t] = static_cast<uint8_t>(LitChannel(t, level, m));
      sh.Made[level] = true;
    }
    const uint32_t t = texels[tx];
    if (++tx == tw) tx = 0;
    const uint32_t r = sh.Tinted[0][lit[PixelRed(t)]];
    const uint32_t g = sh.Tinted[1][lit[PixelGreen(t)]];
    const uint32_t b = sh.Tinted[2][lit[PixelBlue(t)]];
    pixels[x] = (pixels[x] & 0xFF000000u) | RGBToPixel(r, g, b);
  }
}

namespace {

// The texture image takes a copy of the bitmap (its fourth bytes cleared: a texture is
// never transparent) when it is larger than one pixel each way; otherwise texturing
// of that part is off.
void SetTexture(TBitmap& texture, bool& textured, const TBitmap& bitmap) {
  textured = false;
  if (bitmap.Width() <= 1 || bitmap.Height() <= 1) return;
  texture = bitmap;
  uint32_t* p = texture.Data();
  for (size_t i = 0, n = static_cast<size_t>(texture.Width()) * texture.Height(); i < n; ++i) p[i] &= 0x00FFFFFFu;
  textured = true;
}

}  // namespace

void TView3D::SetTextTexture(const TBitmap& Bitmap) { SetTexture(TextTexture, TextTextured, Bitmap); }
void TView3D::SetButtonTexture(const TBitmap& Bitmap) { SetTexture(ButtonTexture, ButtonTextured, Bitmap); }

}  // namespace qz
