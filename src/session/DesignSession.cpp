#include "session/DesignSession.h"

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "export/PreviewPage.h"
#include "geometry/ButtonBody.h"
#include "geometry/ButtonOutline.h"
#include "base/FileUtil.h"
#include "text/FontEngine.h"
#include "base/Numeric.h"
#include "base/OutputFiles.h"
#include "scene/WorkFile.h"
#include "session/TextureFiles.h"
#include "session/WorkIcon.h"

namespace qz {

namespace {

// A pixel-for-pixel copy with the fourth bytes cleared: the export's 24-bit copies.
TBitmap Copy24(const TBitmap& source) {
  TBitmap copy(source.Width(), source.Height());
  for (int y = 0; y < source.Height(); ++y) {
    const uint32_t* in = source.ScanLine(y);
    uint32_t* out = copy.ScanLine(y);
    for (int x = 0; x < source.Width(); ++x) out[x] = in[x] & 0xFFFFFF;
  }
  return copy;
}

// The picture of a design with nothing to draw: the background alone.
void MakeEmptyPicture(TPicture& picture, TColor background) {
  picture.Image.SetSize(EmptyImageSide, EmptyImageSide);
  ClearImage(picture.Image, background);
}

}  // namespace

TDesignSession::TDesignSession(TFolders folders, IMessageSink& messages, IProgressSink& progress)
    : folders_(std::move(folders)), progress_(&progress) {
  notices_.Target = &messages;
  const TBitmap& image = picture_.Image;
  Dim = {image.Width(), image.Height(), image.Width(), image.Height()};
  History.Reset(State());
}

TDesignSession::TDesignSession(const std::string& programDir, IMessageSink& messages, IProgressSink& progress)
    : TDesignSession(TFolders::InProgramFolder(programDir), messages, progress) {}

// ---- The design ------------------------------------------------------------------------

bool TDesignSession::Load(const std::string& fileName) {
  // The factory designs are named in any case on other systems: look without case.
  std::string path = fileName;
  if (!FileExists(path))
    if (auto found = FindFileNoCase(FolderOf(path), BareFileName(path))) path = *found;
  if (!LoadWorkFile(path, Params, Text, notices_)) return false;
  // The light vector and the shadows follow the design just loaded.
  Params.SetLightAngles(Params.a1, Params.a2);
  notices_.Forget();
  History.Reset(State());
  return true;
}

bool TDesignSession::Begin(const std::string& path) {
  if (!Load(path)) return false;
  // The factory designs keep the 8-bit layout as files (their pictures stay as they
  // were); what is made from them is shaped.
  Params.Shaping = true;
  History.Reset(State());
  return true;
}

void TDesignSession::ReplaceMessage(std::u32string_view text) { qz::ReplaceMessage(Text, text); }

void TDesignSession::LoadTextTexture() {
  qz::LoadTextTexture(Params, built_.View, folders_.TextureFolders(), notices_);
}

void TDesignSession::LoadButtonTexture() {
  qz::LoadButtonTexture(Params, built_.View, folders_.TextureFolders(), notices_);
}

void TDesignSession::LoadTextures() {
  LoadTextTexture();
  LoadButtonTexture();
}

bool TDesignSession::UseTextureFile(bool text, const std::string& path) {
  std::optional<TBitmap> picture = ReadTextureFile(path, notices_);
  if (!picture) return false;
  (text ? Params.Message : Params.Button).TexFile = path;
  if (text)
    built_.View.SetTextTexture(std::move(*picture));
  else
    built_.View.SetButtonTexture(std::move(*picture));
  return true;
}

bool TDesignSession::ClearTexture(bool text) {
  TView3D& view = built_.View;
  bool& textured = text ? view.TextTextured : view.ButtonTextured;
  if (!textured) return false;
  (text ? Params.Message : Params.Button).TexFile.clear();
  textured = false;
  (text ? view.TextTexture : view.ButtonTexture).SetSize(0, 0);
  return true;
}

bool TDesignSession::ShapeFileMissing() const {
  return Params.Type > 0 && IsShapeFileType(Params.Type) && !Params.ShapeName.empty() &&
         built_.Shape.PointCount == 0 && !FindShapeFile(folders_.ShapeFolders(), Params.ShapeName);
}

// ---- Undo and redo ---------------------------------------------------------------------

TDesignState TDesignSession::State() const {
  TDesignState state{Params, Text, Dim};
  state.Text.OnSelectionChange = nullptr;  // a state is data: it calls nobody
  return state;
}

void TDesignSession::Restore(const TDesignState& state) {
  auto sameTexture = [](const TSideParams& a, const TSideParams& b) {
    return a.TexFile == b.TexFile && a.TexW == b.TexW && a.TexH == b.TexH && a.HoldRatio == b.HoldRatio;
  };
  // A texture is fitted to its tile in place by every build: another file or scale
  // starts again from the file.
  const bool reload = !sameTexture(Params.Message, state.Params.Message) || !sameTexture(Params.Button, state.Params.Button);
  Params = state.Params;
  std::function<void()> watcher = std::move(Text.OnSelectionChange);
  Text = state.Text;
  Text.OnSelectionChange = std::move(watcher);
  Dim = state.Dim;
  if (reload) LoadTextures();
}

bool TDesignSession::Undo() {
  const TDesignState* state = History.Undo();
  if (state) Restore(*state);
  return state != nullptr;
}

bool TDesignSession::Redo() {
  const TDesignState* state = History.Redo();
  if (state) Restore(*state);
  return state != nullptr;
}

// ---- Build, render, preview ------------------------------------------------------------

bool TDesignSession::NothingToBuild() const {
  return Text.Length() == 0 || (Params.Type <= 0 && CountNonBlank(Text.Text()) < 1);
}

bool TDesignSession::Rebuild() {
  if (NothingToBuild()) {
    built_.Letters.Clear();
    built_.View.ClearBodies();
    MakeEmptyPicture(picture_, Params.BkgColor);
    picture_.Mask.SetSize(EmptyImageSide, EmptyImageSide);
    return false;
  }
  Build(Params, Text, built_, notices_, *progress_);
  return true;
}

void TDesignSession::Build(TParams& params, TMessageText& text, TBuiltDesign& built, IMessageSink& messages,
                           IProgressSink& progress) const {
  TFontEngine fonts;
  qz::Build(params, text, built,
            {fonts, fonts, [&fonts](const TFontRequest& font) { fonts.SelectFont(font); }, folders_.ShapeFolders(),
             messages, progress});
}

void TDesignSession::Render(bool withMask, bool progress) {
  Render(built_, Params, picture_, withMask, progress, *progress_);
}

void TDesignSession::Render(TBuiltDesign& built, const TParams& params, TPicture& picture, bool withMask,
                            bool progress, IProgressSink& sink, const TRenderFrame* frame) {
  try {
    RenderScene(built.View, params, picture, withMask, sink, progress, frame);
  } catch (const TPictureTooLarge& e) {
    // A shape file whose outline reaches far beyond its button (more than the button's
    // own size) is what makes the picture large: name it rather than the camera.
    if (!IsShapeFileType(params.Type) || built.OutlineOverhang <= built.ButtonSide) throw;
    throw TPictureTooLarge(e.Width, e.Height,
                           "The shape file " + params.ShapeName + " is the cause: its outline reaches " +
                               std::to_string(built.OutlineOverhang) +
                               " units beyond the button's edges. Choose another shape, or mend its points.");
  }
}

void TDesignSession::RefitExportSize() {
  qz::RefitExportSize(Dim, picture_.Image.Width(), picture_.Image.Height(), Params.HoldButtonSize);
}

TExportSize TDesignSession::FittedExportSize() const {
  return FitExportSize(picture_.Image.Width(), picture_.Image.Height());
}

const TBitmap& TDesignSession::ScalePreview(int clientW, int clientH, bool smooth) {
  if (Text.Length() == 0) {
    MakeEmptyPicture(picture_, Params.BkgColor);
    smooth = false;
  }
  const TPreviewSize size = PreviewSize(picture_.Image.Width(), picture_.Image.Height(), clientW, clientH,
                                        Params.ViewSize);
  progress_->SetProgress(ProgressStretching);
  progress_->SetStatus(" Stretching preview ...");
  progress_->ProcessMessages();
  preview_ = qz::ScalePreview(picture_.Image, size, smooth);
  progress_->SetProgress(ProgressDisplaying);
  progress_->SetStatus(" Displaying preview ...");
  progress_->ProcessMessages();
  return preview_;
}

// ---- Export and save -------------------------------------------------------------------

std::optional<TRenderedButton> TDesignSession::RenderForExport() {
  if (Text.Length() == 0) {
    notices_.ShowMessage(NothingToExportMessage);
    return std::nullopt;
  }
  return RenderButton(built_, Params, false, nullptr);
}

TRenderedButton TDesignSession::RenderButton(TBuiltDesign& built, const TParams& params, bool alpha,
                                             const TRenderFrame* frame) {
  TNullProgressSink quiet;
  TParams p = params;
  if (alpha) p.BkgColor = 0;
  TPicture picture;
  Render(built, p, picture, true, false, quiet, frame);
  TRenderedButton button{Copy24(picture.Image), Copy24(picture.Mask), {}, FrameOf(picture)};
  if (alpha) {
    p.BkgColor = 0xFFFFFF;
    const TRenderFrame same = button.Frame;
    Render(built, p, picture, false, false, quiet, &same);
    button.OnWhite = Copy24(picture.Image);
  }
  return button;
}

void TDesignSession::BuildScaled(double factor, TParams& params, TBuiltDesign& built) const {
  params = Params;
  params.CnX = static_cast<float>(params.CnX * factor);
  params.CnZ = static_cast<float>(params.CnZ * factor);
  for (int32_t* offset : {&params.ButShadowX, &params.ButShadowY, &params.TxtShadowX, &params.TxtShadowY})
    *offset = RoundHalfEven(*offset * static_cast<long double>(factor));
  // A shape file that has gone since the session's build is drawn as it was read.
  built.Shape = built_.Shape;
  TNullMessageSink quiet;
  TNullProgressSink still;
  qz::LoadTextTexture(params, built.View, folders_.TextureFolders(), quiet);
  qz::LoadButtonTexture(params, built.View, folders_.TextureFolders(), quiet);
  TMessageText text = Text;
  Build(params, text, built, quiet, still);
}

namespace {

// How much larger than the design's own picture (width x height) a picture must be
// drawn so that scale times the export size is a reduction of it: at least the scale
// itself, so the larger picture is made as the smaller one is; more when the export is
// larger than the picture. The margin of two pixels the picture has besides the scene
// does not grow with it.
double DrawingFactor(int scale, TExportSize size, int width, int height) {
  const double needed = scale * std::max(static_cast<double>(size.width) / std::max(1, width - 4),
                                         static_cast<double>(size.height) / std::max(1, height - 4));
  return std::max(static_cast<double>(scale), needed);
}

}  // namespace

uint64_t TDesignSession::Export(const TRenderedButton& button, TExportSize size, const TExportOptions& options,
                                const std::string& path, const std::string& link) {
  CheckExportOptions(options);
  CheckExportSize(size.width, size.height);
  if (options.Scale > 1) CheckExportSize(int64_t{size.width} * options.Scale, int64_t{size.height} * options.Scale);
  const bool alpha = HasAlphaChannel(options.Format) && options.Transparency;
  std::vector<TButtonState> states{TButtonState::Normal};
  if (options.States) states.insert(states.end(), {TButtonState::Hover, TButtonState::Pressed});
  std::vector<int> scales{1};
  if (options.Scale > 1) scales.push_back(options.Scale);

  TFileGroup files;
  uint64_t bytes = 0;
  for (const int scale : scales) {
    TParams scaledParams;
    TBuiltDesign scaledBuild;
    if (scale > 1) {
      progress_->SetStatus(" Drawing the " + std::to_string(scale) + "x picture ...");
      progress_->ProcessMessages();
      BuildScaled(DrawingFactor(scale, size, button.Image.Width(), button.Image.Height()), scaledParams,
                  scaledBuild);
    }
    const TParams& design = scale > 1 ? scaledParams : Params;
    TBuiltDesign& built = scale > 1 ? scaledBuild : built_;
    // The states share the frame of the button as it stands, so they line up.
    std::optional<TRenderFrame> frame;
    if (scale == 1) frame = button.Frame;
    for (const TButtonState state : states) {
      const std::string file = StatePicturePath(path, state, scale);
      progress_->SetStatus(" Exporting " + BareFileName(file) + " ...");
      progress_->ProcessMessages();
      const bool reuse = scale == 1 && state == TButtonState::Normal && !alpha;
      std::optional<TRenderedButton> drawn;
      if (!reuse) {
        try {
          drawn = RenderButton(built, ParamsForState(design, state), alpha, frame ? &*frame : nullptr);
        } catch (const TPictureTooLarge& e) {
          if (scale == 1) throw;
          throw std::runtime_error("Cannot draw the " + std::to_string(scale) + "x picture. " + e.what() +
                                   " Export at a smaller size or scale.");
        }
        if (!frame) frame = drawn->Frame;
      }
      const uint64_t n = WriteImage(reuse ? button : *drawn, size.width * scale, size.height * scale, options, file,
                                    files);
      if (scale == 1 && state == TButtonState::Normal) bytes = n;
    }
  }
  const TExportFacts facts =
      MakeExportFacts(path, size.width, size.height, options, bytes, Params.BkgColor, link, Text, MaxBuiltChars);
  if (options.States) {
    const std::string snippet = StatesSnippet(facts);
    WriteOutputBytes(&files, StatesSnippetPath(path), snippet.data(), snippet.size());
  }
  if (options.BrowserPreview) WritePreviewPage(folders_, facts, files);
  files.Commit();
  progress_->SetStatus(" Done");
  return bytes;
}

std::optional<TUnmixed> TDesignSession::ExportPicture() {
  CheckExportSize(Dim.Width, Dim.Height);
  if (Text.Length() == 0) {
    notices_.ShowMessage(NothingToExportMessage);
    return std::nullopt;
  }
  return AlphaPicture(RenderButton(built_, Params, true, nullptr), Dim.Width, Dim.Height);
}

bool TDesignSession::Save(const std::string& path) {
  Params.ExpWidth = Dim.Width;
  Params.ExpHeight = Dim.Height;
  SaveWorkFile(path, Params, Text);
  const bool icon = Text.Length() > 0 && SaveIcon(path, "Icon", preview_, Dim.Width, Dim.Height, *progress_);
  History.Amend(State());
  History.MarkClean();
  return icon;
}

}  // namespace qz
