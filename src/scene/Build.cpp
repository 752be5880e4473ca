#include "scene/Build.h"

#include <algorithm>

#include "geometry/ButtonBody.h"
#include "geometry/GlyphOutline.h"
#include "geometry/LetterLayout.h"
#include "platform/Numeric.h"
#include "render/TextureTiles.h"

namespace qz {

namespace {

// The status text of a stage, then a chance for the status bar to repaint.
void Stage(TScene& scene, const char* text) {
  scene.Progress->SetStatus(text);
  scene.Progress->ProcessMessages();
}

// One letter per character, read in the character's own font.
void ReadGlyphs(TScene& scene, TMessageText& text, IGlyphSource& glyphs, const TSelectFont& selectFont) {
  scene.PenX = 0;
  const int caret = text.SelStart();
  text.SetSelLength(0);
  const int n = std::min(text.Length(), TScene::MaxBuiltChars);
  for (int i = 1; i <= n; ++i) {
    text.SetSelection(i - 1, 1);
    const TCharFormat format = text.SelFormat();
    if (selectFont)
      selectFont({format.Name, GlyphPointSize(format.Size), format.Bold, format.Italic,
                  static_cast<uint8_t>(Clamp(format.Charset, 0, 255))});
    GetFontOutline(scene, glyphs, text.At(i - 1).Code);
  }
  // The caret goes back; a selection the user had made is not restored.
  text.SetSelection(caret, 0);
}

}  // namespace

void Build(TScene& scene, TMessageText& text, IGlyphSource& glyphs, const TSelectFont& selectFont) {
  IProgressSink& progress = *scene.Progress;
  // The camera distance chosen by the user takes effect for this build and the
  // renders after it.
  scene.Render.Y = static_cast<float>(scene.Distance);

  Stage(scene, " Reallocating memory ...");
  scene.ClearLetters();
  progress.SetProgress(2);

  Stage(scene, " Getting font outline ...");
  ReadGlyphs(scene, text, glyphs, selectFont);

  Stage(scene, " Normalizing coordinates ...");
  progress.SetProgress(15);
  NormalizeCoordinates(scene);

  Stage(scene, " Transforming letters ...");
  progress.SetProgress(17);
  TransformLetters(scene);
  progress.SetProgress(20);

  if (scene.Type > 0) {
    Stage(scene, " Making button ...");
    MakeButtonOutline(scene);
    MakeButtonBody(scene);
    progress.SetProgress(23);
  }

  Stage(scene, " Resizing textures ...");
  ResizeTextures(scene);
  progress.SetProgress(30);
}

void Build(TScene& scene, TMessageText& text) {
  TFontEngine fonts;
  Build(scene, text, fonts, [&fonts](const TFontRequest& font) { fonts.SelectFont(font); });
}

}  // namespace qz
