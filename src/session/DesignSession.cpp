#include "session/DesignSession.h"

#include <functional>
#include <utility>

#include "export/PreviewPage.h"
#include "geometry/ButtonBody.h"
#include "geometry/ButtonOutline.h"
#include "platform/FileUtil.h"
#include "platform/FontEngine.h"
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
    : folders_(std::move(folders)), messages_(&messages), progress_(&progress) {
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
  if (!LoadWorkFile(path, Params, Text, *messages_)) return false;
  // The light vector and the shadows follow the design just loaded.
  Params.SetLightAngles(Params.a1, Params.a2);
  History.Reset(State());
  return true;
}

void TDesignSession::ReplaceMessage(const std::string& text) { qz::ReplaceMessage(Text, text); }

void TDesignSession::LoadTextTexture() {
  qz::LoadTextTexture(Params, built_.View, folders_.TextureFolders(), *messages_);
}

void TDesignSession::LoadButtonTexture() {
  qz::LoadButtonTexture(Params, built_.View, folders_.TextureFolders(), *messages_);
}

void TDesignSession::LoadTextures() {
  LoadTextTexture();
  LoadButtonTexture();
}

bool TDesignSession::UseTextureFile(bool text, const std::string& path) {
  std::optional<TBitmap> picture = ReadTextureFile(path, *messages_);
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
  TFontEngine fonts;
  Build(Params, Text, built_,
        {fonts, [&fonts](const TFontRequest& font) { fonts.SelectFont(font); }, folders_.ShapeFolders(), *messages_,
         *progress_});
  return true;
}

void TDesignSession::Render(bool withMask, bool progress) { Render(picture_, withMask, progress); }

void TDesignSession::Render(TPicture& picture, bool withMask, bool progress) {
  try {
    RenderScene(built_.View, Params, picture, withMask, *progress_, progress);
  } catch (const TPictureTooLarge& e) {
    // A shape file whose outline reaches far beyond its button (more than the button's
    // own size) is what makes the picture large: name it rather than the camera.
    if (!IsShapeFileType(Params.Type) || built_.OutlineOverhang <= built_.ButtonSide) throw;
    throw TPictureTooLarge(e.Width, e.Height,
                           "The shape file " + Params.ShapeName + " is the cause: its outline reaches " +
                               std::to_string(built_.OutlineOverhang) +
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
    messages_->ShowMessage(NothingToExportMessage);
    return std::nullopt;
  }
  TPicture picture;
  Render(picture, true, false);
  return TRenderedButton{Copy24(picture.Image), Copy24(picture.Mask)};
}

uint64_t TDesignSession::Export(const TRenderedButton& button, TExportSize size, const TExportOptions& options,
                                const std::string& path, const std::string& link) {
  TFileGroup files;
  const uint64_t bytes = WriteImage(button, size.width, size.height, options, path, files);
  if (options.BrowserPreview)
    WritePreviewPage(folders_, MakeExportFacts(path, size.width, size.height, options, bytes, Params.BkgColor, link,
                                               Text, MaxBuiltChars),
                     files);
  files.Commit();
  return bytes;
}

std::optional<TRenderedButton> TDesignSession::ExportPicture() {
  CheckExportSize(Dim.Width, Dim.Height);
  std::optional<TRenderedButton> button = RenderForExport();
  if (!button) return std::nullopt;
  return TRenderedButton{ScaleExportImage(button->Image, Dim.Width, Dim.Height),
                         ScaleExportMask(button->Mask, Dim.Width, Dim.Height)};
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
