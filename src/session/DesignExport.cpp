// The session's export (the pictures, their high-density and state pictures, the
// states' HTML and the preview page) and its save (the work with its icon).
#include <algorithm>
#include <vector>

#include "base/FileUtil.h"
#include "base/Numeric.h"
#include "base/OutputFiles.h"
#include "export/PreviewPage.h"
#include "scene/WorkFile.h"
#include "session/DesignSession.h"
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

void TDesignSession::Current() {
  if (buildStale_) Rebuild();
}

std::optional<TRenderedButton> TDesignSession::RenderForExport() {
  if (Text().Length() == 0) {
    notices_.ShowMessage(NothingToExportMessage);
    return std::nullopt;
  }
  Current();
  return RenderButton(built_, BuiltParams(), false, nullptr);
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

TParams TDesignSession::BuildScaled(double factor, TBuiltDesign& built) const {
  TParams params = Params();
  params.CnX = static_cast<float>(params.CnX * factor);
  params.CnZ = static_cast<float>(params.CnZ * factor);
  for (int32_t* offset : {&params.ButShadowX, &params.ButShadowY, &params.TxtShadowX, &params.TxtShadowY})
    *offset = RoundHalfEven(*offset * static_cast<long double>(factor));
  // A shape file that has gone since the session's build is drawn as it was read.
  built.Shape = built_.Shape;
  TNullMessageSink quiet;
  TNullProgressSink still;
  Build(params, built, quiet, still);
  return AsBuilt(params, built.Figures);
}

uint64_t TDesignSession::WriteScale(int scale, const TRenderedButton& button, TExportSize size,
                                    const TExportOptions& options, const std::string& path, TFileGroup& files) {
  const bool alpha = HasAlphaChannel(options.Format) && options.Transparency;
  std::vector<TButtonState> states{TButtonState::Normal};
  if (options.States) states.insert(states.end(), {TButtonState::Hover, TButtonState::Pressed});
  TBuiltDesign scaledBuild;
  TParams design;
  if (scale > 1) {
    progress_->SetStatus(" Drawing the " + std::to_string(scale) + "x picture ...");
    progress_->ProcessMessages();
    design = BuildScaled(DrawingFactor(scale, size, button.Image.Width(), button.Image.Height()), scaledBuild);
  } else {
    design = BuiltParams();
  }
  TBuiltDesign& built = scale > 1 ? scaledBuild : built_;
  // The states share the frame of the button as it stands, so they line up.
  std::optional<TRenderFrame> frame;
  if (scale == 1) frame = button.Frame;
  uint64_t bytes = 0;
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
    const uint64_t n =
        WriteImage(reuse ? button : *drawn, size.width * scale, size.height * scale, options, file, files);
    if (state == TButtonState::Normal) bytes = n;
  }
  return bytes;
}

uint64_t TDesignSession::Export(const TRenderedButton& button, TExportSize size, const TExportOptions& options,
                                const std::string& path, const std::string& link) {
  CheckExportOptions(options);
  CheckExportSize(size.width, size.height);
  if (options.Scale > 1) CheckExportSize(int64_t{size.width} * options.Scale, int64_t{size.height} * options.Scale);
  TFileGroup files;
  const uint64_t bytes = WriteScale(1, button, size, options, path, files);
  if (options.Scale > 1) WriteScale(options.Scale, button, size, options, path, files);
  const TExportFacts facts =
      MakeExportFacts(path, size.width, size.height, options, bytes, Params().BkgColor, link, Text(), MaxBuiltChars);
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
  const TExportSize size = ExportSize();
  CheckExportSize(size.width, size.height);
  if (Text().Length() == 0) {
    notices_.ShowMessage(NothingToExportMessage);
    return std::nullopt;
  }
  Current();
  return AlphaPicture(RenderButton(built_, BuiltParams(), true, nullptr), size.width, size.height);
}

bool TDesignSession::Save(const std::string& path) {
  Current();
  TParams saved = BuiltParams();
  saved.ExpWidth = state_.Dim.Width;
  saved.ExpHeight = state_.Dim.Height;
  TIniFile ini(path);
  // A file that exists but could not be read is not overwritten with a work that
  // would lose whatever else it held.
  if (!ini.ReadError().empty()) throw std::runtime_error(ini.ReadError());
  SaveDesignToIni(saved, Text(), ini);
  bool icon = false;
  if (Text().Length() > 0) {
    // The icon is the design's own render, whatever a window shows of it.
    TNullProgressSink quiet;
    TPicture picture;
    Render(built_, saved, picture, false, false, quiet);
    icon = AddIcon(ini, "Icon", picture.Image, state_.Dim.Width, state_.Dim.Height, *progress_);
  }
  ini.Flush();  // keys and icon in one replacement of the file
  history_.MarkClean();
  return icon;
}

}  // namespace qz
