// The font engine as the layout of Unicode text asks it: which face draws a character
// (its own, a fallback in the same style, none), and runs shaped by HarfBuzz.
#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

#include "text/FontEngine.h"

namespace qz {
namespace {

constexpr int32_t ReadSize = 512;  // an 18-point character as a build reads it
const std::u32string Shalom = U"\u05E9\u05DC\u05D5\u05DD";
const std::u32string Marhaba = U"\u0645\u0631\u062D\u0628\u0627";

TFontRequest Arial(bool bold = false) { return {"Arial", ReadSize, bold, false, 1, {}}; }

// Whether the face of a file is bold by its own style, as FreeType reads it.
bool FileIsBold(const std::string& file) {
  FT_Library lib;
  FT_Face face;
  if (FT_Init_FreeType(&lib) != 0) return false;
  const bool bold = FT_New_Face(lib, file.c_str(), 0, &face) == 0 && (face->style_flags & FT_STYLE_FLAG_BOLD);
  FT_Done_FreeType(lib);
  return bold;
}

// The glyphs of each character on its own, as the character maps give them.
std::vector<uint32_t> Nominal(TFontEngine& fonts, const TFontRequest& font, const std::u32string& text) {
  std::vector<uint32_t> glyphs;
  for (char32_t u : text) glyphs.push_back(fonts.FaceFor(font, u).Glyph);
  return glyphs;
}

std::vector<uint32_t> Glyphs(const TShapedRun& run) {
  std::vector<uint32_t> glyphs;
  for (const TShapedGlyph& g : run.Glyphs) glyphs.push_back(g.Glyph);
  return glyphs;
}

TEST(TextFonts, ACharacterComesFromItsFontAFallbackInItsStyleOrNoFace) {
  TFontEngine fonts;
  const TCharFace own = fonts.FaceFor(Arial(), U'A');
  EXPECT_EQ(own.Kind, TCharFace::Own);
  EXPECT_EQ(own.Face.Family, "Liberation Sans");
  EXPECT_NE(own.Glyph, 0u);

  // Liberation Sans has no Hebrew: another face has it, bold when bold is asked for.
  for (bool bold : {false, true}) {
    const TCharFace f = fonts.FaceFor(Arial(bold), Shalom[0]);
    ASSERT_EQ(f.Kind, TCharFace::Fallback) << bold;
    EXPECT_NE(f.Face.Family, "Liberation Sans");
    EXPECT_NE(f.Glyph, 0u);
    EXPECT_EQ(FileIsBold(f.Face.File), bold) << f.Face.File;
    EXPECT_FALSE(f.Face.SynthBold);
    // Its glyph reads by index in the fallback face.
    TFontEngine engine;
    TFontRequest request = Arial(bold);
    request.Face = f.Face;
    engine.SelectFont(request);
    TGlyphMetrics m;
    const uint32_t size = engine.GetGlyphOutlineOfIndex(f.Glyph, m, 0, nullptr);
    EXPECT_TRUE(size != GDI_ERROR && size > 0 && m.gmCellIncX > 0);
  }

  // No installed face has a character of the last private-use plane: the font's own
  // face stays, for the width of its default glyph.
  const TCharFace none = fonts.FaceFor(Arial(), U'\U0010FFFD');
  EXPECT_EQ(none.Kind, TCharFace::None);
  EXPECT_EQ(none.Face.Family, "Liberation Sans");
  fonts.SelectFont(Arial());
  TGlyphMetrics m;
  EXPECT_EQ(fonts.GetGlyphOutlineOfIndex(0, m, 0, nullptr) != GDI_ERROR && m.gmCellIncX > 0, true);
}

TEST(TextFonts, RightToLeftRunsComeInVisualOrderAndArabicLettersJoin) {
  TFontEngine fonts;
  TFontRequest hebrew = Arial();
  hebrew.Face = fonts.FaceFor(hebrew, Shalom[0]).Face;
  // Hebrew letters do not join: each is its own glyph, the last character leftmost.
  std::vector<uint32_t> expected = Nominal(fonts, hebrew, Shalom);
  std::reverse(expected.begin(), expected.end());
  const TShapedRun rtl = fonts.Shape(hebrew, Shalom, 0, Shalom.size(), true);
  EXPECT_EQ(Glyphs(rtl), expected);
  EXPECT_EQ(rtl.Glyphs.front().Cluster, 3u);
  EXPECT_FALSE(rtl.Joined);

  // Arabic takes its joining forms: none of the five is the letter's own glyph, and
  // the letters of the word touch.
  TFontRequest arabic = Arial();
  arabic.Face = fonts.FaceFor(arabic, Marhaba[0]).Face;
  const std::vector<uint32_t> nominal = Nominal(fonts, arabic, Marhaba);
  const TShapedRun joined = fonts.Shape(arabic, Marhaba, 0, Marhaba.size(), true);
  ASSERT_EQ(joined.Glyphs.size(), 5u);
  EXPECT_TRUE(joined.Joined);
  for (size_t k = 0; k < 5; ++k) {
    EXPECT_EQ(joined.Glyphs[k].Cluster, 4 - k);
    EXPECT_NE(joined.Glyphs[k].Glyph, nominal[4 - k]) << k;
  }
  // The same word alone in the middle of a text joins the same way: the rest is context.
  const std::u32string around = U"ab " + Marhaba + U" cd";
  EXPECT_EQ(Glyphs(fonts.Shape(arabic, around, 3, 5, true)), Glyphs(joined));
}

TEST(TextFonts, KerningAndSyntheticBoldWidenOrNarrowTheShapedAdvances) {
  TFontEngine fonts;
  // "AV" is kerned closer than A and V read one by one.
  const TShapedRun av = fonts.Shape(Arial(), U"AV", 0, 2, false);
  const TShapedRun a = fonts.Shape(Arial(), U"A", 0, 1, false);
  ASSERT_EQ(av.Glyphs.size(), 2u);
  EXPECT_LT(av.Glyphs[0].XAdvance, a.Glyphs[0].XAdvance);
  // A bold the face lacks (Droid Sans Fallback has no bold) is wider by its strength,
  // as a glyph read alone is widened.
  TFontRequest cjk = Arial(), cjkBold = Arial(true);
  cjk.Face = fonts.FaceFor(cjk, U'\u65E5').Face;
  cjkBold.Face = fonts.FaceFor(cjkBold, U'\u65E5').Face;
  ASSERT_TRUE(cjkBold.Face.SynthBold) << cjkBold.Face.File;
  const int32_t plain = fonts.Shape(cjk, U"\u65E5", 0, 1, false).Glyphs[0].XAdvance;
  const int32_t bold = fonts.Shape(cjkBold, U"\u65E5", 0, 1, false).Glyphs[0].XAdvance;
  EXPECT_GT(bold, plain);
  fonts.SelectFont(cjkBold);
  TGlyphMetrics m;
  fonts.GetGlyphOutlineOfIndex(fonts.FaceFor(cjkBold, U'\u65E5').Glyph, m, 0, nullptr);
  EXPECT_EQ(m.gmCellIncX, (bold + 32) >> 6);
}

}  // namespace
}  // namespace qz
