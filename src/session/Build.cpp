#include "session/Build.h"

#include <algorithm>
#include <string>
#include <vector>

#include "geometry/ButtonBody.h"
#include "geometry/GlyphOutline.h"
#include "geometry/LetterLayout.h"
#include "geometry/MessageLayout.h"
#include "base/Numeric.h"
#include "text/Utf8.h"
#include "render/TextureTiles.h"

namespace qz {

namespace {

// The status text of a stage, then a chance for the status bar to repaint.
void Stage(IProgressSink& progress, const char* text) {
  progress.SetStatus(text);
  progress.ProcessMessages();
}

// How a glyph error names the character: its place, itself (a printable ASCII
// character, else its code; one outside every code page as U+XXXX), its font and
// its size.
std::string Which(int place, const TMessageText::TChar& c, const TCharFormat& format) {
  std::string character = "code " + std::to_string(c.Code);
  if (c.Wide != 0)
    character = CodePointName(c.Wide);
  else if (c.Code >= 0x20 && c.Code < 0x7F)
    character = "'" + std::string(1, static_cast<char>(c.Code)) + "'";
  return "letter " + std::to_string(place) + ", " + character + " in " + format.Name + " at " +
         std::to_string(format.Size) + " points";
}

// The characters to build, each with its font, laid out as letters.
void ReadGlyphs(const TParams& params, const TMessageText& text, TLetters& letters, const TBuildEnvironment& env) {
  const int n = std::min(text.Length(), MaxBuiltChars);
  std::vector<TLayoutChar> chars;
  for (int i = 1; i <= n; ++i) {
    const TMessageText::TChar& c = text.At(i - 1);
    const TCharFormat& format = c.Format;
    TLayoutChar lc;
    lc.CodePoint = c.CodePoint();
    if (c.Wide == 0) lc.Code = c.Code;
    lc.Font = {format.Name, GlyphPointSize(format.Size), format.Bold, format.Italic,
               static_cast<uint8_t>(Clamp(format.Charset, 0, 255)), {}};
    lc.Which = Which(i, c, format);
    chars.push_back(lc);
  }

  TGlyphReader reader(letters, params.SplPnt, params.TxtW, env.Messages);
  const TSelectFont select = env.SelectFont ? env.SelectFont : [](const TFontRequest&) {};
  LayOutMessage(chars, params.Shaping, reader, {env.Glyphs, env.Fonts, select}, env.Messages);
}

// How far the outline reaches beyond its rectangle on any side.
int64_t Overhang(const TButtonOutline& outline) {
  const TButtonRect& R = outline.Rect;
  int64_t most = 0;
  for (int i = 1; i <= outline.Count; ++i) {
    const TPoint p = outline.Pts[i];
    most = std::max({most, int64_t{R.Left} - p.x, int64_t{p.x} - R.Right, int64_t{R.Bottom} - p.y, int64_t{p.y} - R.Top});
  }
  return most;
}

}  // namespace

TParams AsBuilt(const TParams& design, const TBuildFigures& figures) {
  TParams p = design;
  p.Render.Y = figures.CameraY;
  if (figures.HasButton) {
    p.ButLeft = figures.Button.Left;
    p.ButTop = figures.Button.Top;
    p.ButRight = figures.Button.Right;
    p.ButBottom = figures.Button.Bottom;
  }
  const TFittedTextures& t = figures.Textures;
  if (t.Text) p.Message.TexW = t.TextFit.TexW, p.Message.TexH = t.TextFit.TexH;
  if (t.Button) p.Button.TexW = t.ButtonFit.TexW, p.Button.TexH = t.ButtonFit.TexH;
  return p;
}

void Build(const TParams& design, const TMessageText& text, const TTextures& textures, TBuiltDesign& built,
           const TBuildEnvironment& env) {
  IProgressSink& progress = env.Progress;
  TBuildFigures& figures = built.Figures;
  figures = {};
  // The camera distance chosen by the user takes effect for this build and the
  // renders after it.
  figures.CameraY = static_cast<float>(design.Distance);
  const TParams params = AsBuilt(design, figures);

  Stage(progress, " Reallocating memory ...");
  built.Letters.Clear();
  progress.SetProgress(ProgressLettersCleared);

  Stage(progress, " Getting font outline ...");
  ReadGlyphs(params, text, built.Letters, env);

  Stage(progress, " Normalizing coordinates ...");
  progress.SetProgress(ProgressNormalizing);
  NormalizeCoordinates(built.Letters);

  Stage(progress, " Transforming letters ...");
  progress.SetProgress(ProgressTransforming);
  TransformLetters(built.Letters, params, built.View);
  progress.SetProgress(ProgressLettersMade);

  built.OutlineOverhang = built.ButtonSide = 0;
  if (params.Type > 0) {
    Stage(progress, " Making button ...");
    const TButtonRect R = ButtonRect(built.View, params);
    figures.HasButton = true;
    figures.Button = R;
    const TButtonOutline outline = MakeButtonOutline(R, params, built.Shape, env.ShapeFolders);
    built.ButtonSide = std::max(int64_t{R.Right} - R.Left, int64_t{R.Top} - R.Bottom);
    built.OutlineOverhang = Overhang(outline);
    MakeButtonBody(outline, params, built.View);
    progress.SetProgress(ProgressButtonMade);
  }

  Stage(progress, " Resizing textures ...");
  figures.Textures = ResizeTextures(built.View, params, textures.Text, textures.Button);
  progress.SetProgress(ProgressBuilt);
}

}  // namespace qz
