// The session's design: opening it, its textures, undo and redo, and what is built,
// rendered and previewed from it. The edits are in DesignEdits.cpp, the export and
// the save in DesignExport.cpp.
#include "session/DesignSession.h"

#include <algorithm>
#include <utility>

#include "base/FileUtil.h"
#include "geometry/ButtonBody.h"
#include "geometry/ButtonOutline.h"
#include "scene/WorkFile.h"
#include "session/TextureFiles.h"
#include "text/FontEngine.h"

namespace qz {

namespace {

// The picture of a design with nothing to draw: the background alone.
void MakeEmptyPicture(TPicture& picture, TColor background) {
  picture.Image.SetSize(EmptyImageSide, EmptyImageSide);
  ClearImage(picture.Image, background);
}

// Templates and the factory designs begin new designs; anything else is a work.
bool BeginsNewDesign(const std::string& path) {
  std::string ext = BareFileName(path);
  const size_t dot = ext.find_last_of('.');
  ext = dot == std::string::npos ? "" : ext.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext == ".qzpl" || ext == ".dat";
}

}  // namespace

TDesignSession::TDesignSession(TFolders folders, IMessageSink& messages, IProgressSink& progress)
    : folders_(std::move(folders)), progress_(&progress) {
  notices_.Target = &messages;
  history_.OnChange = [this] {
    if (OnHistoryChange) OnHistoryChange();
  };
  const TBitmap& image = picture_.Image;
  state_.Dim = {image.Width(), image.Height(), image.Width(), image.Height()};
  FollowLight();
  Opened();
}

TDesignSession::TDesignSession(const std::string& programDir, IMessageSink& messages, IProgressSink& progress)
    : TDesignSession(TFolders::InProgramFolder(programDir), messages, progress) {}

TTextureFit TDesignSession::TextureTiles(TPart part) const {
  const TFittedTextures& fit = built_.Figures.Textures;
  const bool fitted = part == TPart::Text ? fit.Text : fit.Button;
  if (Textured(part) && fitted) return part == TPart::Text ? fit.TextFit : fit.ButtonFit;
  const TSideParams& side = part == TPart::Text ? Params().Message : Params().Button;
  return {side.TexW, side.TexH};
}

bool TDesignSession::ShapeFileMissing() const {
  const TParams& p = Params();
  return p.Type > 0 && IsShapeFileType(p.Type) && !p.ShapeName.empty() && built_.Shape.PointCount == 0 &&
         !FindShapeFile(folders_.ShapeFolders(), p.ShapeName);
}

// ---- Opening a design ------------------------------------------------------------------

bool TDesignSession::Open(const std::string& path) { return BeginsNewDesign(path) ? Begin(path) : Load(path); }

bool TDesignSession::Load(const std::string& fileName) {
  // The factory designs are named in any case on other systems: look without case.
  std::string path = fileName;
  if (!FileExists(path))
    if (auto found = FindFileNoCase(FolderOf(path), BareFileName(path))) path = *found;
  TParams params = Params();
  TMessageText text = Text();
  if (!LoadWorkFile(path, params, text, notices_)) return false;
  state_.Params = std::move(params);
  state_.Text = std::move(text);
  state_.Dim = StoredExportSize(state_.Params);
  const TParams& p = state_.Params;
  if ((p.ExpWidth != 0 || p.ExpHeight != 0) && state_.Dim.Width == 0)
    notices_.ShowMessage("The work's export size " + std::to_string(p.ExpWidth) + " x " +
                         std::to_string(p.ExpHeight) + " cannot be written; it is fitted to the picture instead");
  for (TPart part : {TPart::Text, TPart::Button})
    state_.Shadows[Index(part)] = {true, Side(state_.Params, part).Altitude};
  FollowLight();
  notices_.Forget();
  Opened();
  return true;
}

bool TDesignSession::Begin(const std::string& path) {
  if (!Load(path)) return false;
  // The factory designs keep the 8-bit layout as files (their pictures stay as they
  // were); what is made from them is shaped.
  state_.Params.Shaping = true;
  history_.Reset(state_);
  return true;
}

void TDesignSession::Start(const TParams& params, const TMessageText& text) {
  state_.Params = params;
  state_.Text = text;
  state_.Dim = {};  // fitted by the first build
  for (TPart part : {TPart::Text, TPart::Button})
    state_.Shadows[Index(part)] = {true, Side(state_.Params, part).Altitude};
  FollowLight();
  notices_.Forget();
  Opened();
}

void TDesignSession::Opened() {
  textures_ = {};
  LoadTexture(TPart::Text);
  LoadTexture(TPart::Button);
  buildStale_ = true;
  history_.Reset(state_);
}

void TDesignSession::LoadTexture(TPart part) {
  TTexturePicture& picture = part == TPart::Text ? textures_.Text : textures_.Button;
  picture = nullptr;
  std::string& name = Side(state_.Params, part).TexFile;
  if (std::optional<TFoundTexture> found = FindTexture(name, folders_.TextureFolders(), notices_)) {
    name = found->Path;
    picture = found->Picture;
  }
}

// ---- Undo and redo ---------------------------------------------------------------------

void TDesignSession::RestoreTextures(const TParams& before) {
  for (TPart part : {TPart::Text, TPart::Button}) {
    TSideParams& side = Side(state_.Params, part);
    const TSideParams& was = part == TPart::Text ? before.Message : before.Button;
    if (side.TexFile == was.TexFile) continue;
    // The restored design keeps the name it had, whatever folder the file is found in.
    const std::string named = side.TexFile;
    LoadTexture(part);
    side.TexFile = named;
  }
}

bool TDesignSession::Restore(const TDesignState* state) {
  if (!state) return false;
  const TParams before = Params();
  state_ = *state;
  RestoreTextures(before);
  buildStale_ = true;
  return true;
}

bool TDesignSession::Undo() { return Restore(history_.Undo()); }

bool TDesignSession::Redo() { return Restore(history_.Redo()); }

// ---- Build, render, preview ------------------------------------------------------------

bool TDesignSession::NothingToBuild() const {
  return Text().Length() == 0 || (Params().Type <= 0 && CountNonBlank(Text().Text()) < 1);
}

bool TDesignSession::Rebuild() {
  buildStale_ = false;
  if (NothingToBuild()) {
    built_.Letters.Clear();
    built_.View.ClearBodies();
    built_.Figures = {};
    MakeEmptyPicture(picture_, Params().BkgColor);
    picture_.Mask.SetSize(EmptyImageSide, EmptyImageSide);
    return false;
  }
  Build(Params(), built_, notices_, *progress_);
  Render(false, true);
  // The export size the rebuild fits belongs to the edit that led to it.
  if (RefitExportSize(state_.Dim, picture_.Image.Width(), picture_.Image.Height(), Params().HoldButtonSize)) {
    state_.Params.ExpWidth = state_.Dim.Width;
    state_.Params.ExpHeight = state_.Dim.Height;
  }
  history_.Amend(state_);
  return true;
}

void TDesignSession::Build(const TParams& params, TBuiltDesign& built, IMessageSink& messages,
                           IProgressSink& progress) const {
  TFontEngine fonts;
  qz::Build(params, Text(), textures_, built,
            {fonts, fonts, [&fonts](const TFontRequest& font) { fonts.SelectFont(font); }, folders_.ShapeFolders(),
             messages, progress});
}

void TDesignSession::Render(bool withMask, bool progress) {
  Render(built_, BuiltParams(), picture_, withMask, progress, *progress_);
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

TExportSize TDesignSession::FittedExportSize() const {
  return FitExportSize(picture_.Image.Width(), picture_.Image.Height());
}

const TBitmap& TDesignSession::ScalePreview(int clientW, int clientH, bool smooth) {
  if (Text().Length() == 0) {
    MakeEmptyPicture(picture_, Params().BkgColor);
    smooth = false;
  }
  const TPreviewSize size =
      PreviewSize(picture_.Image.Width(), picture_.Image.Height(), clientW, clientH, Params().ViewSize);
  progress_->SetProgress(ProgressStretching);
  progress_->SetStatus(" Stretching preview ...");
  progress_->ProcessMessages();
  preview_ = qz::ScalePreview(picture_.Image, size, smooth);
  progress_->SetProgress(ProgressDisplaying);
  progress_->SetStatus(" Displaying preview ...");
  progress_->ProcessMessages();
  return preview_;
}

}  // namespace qz
