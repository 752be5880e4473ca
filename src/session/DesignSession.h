// TDesignSession: one design being worked on, as the designer and quenzar-cli both
// drive it. It owns the design (parameters and message), what a build made from it,
// the rendered picture and the preview, and knows the rules both front ends share:
// what may be built, when the export size refits, how an export and a save are done.
//
//   TDesignSession session(folders, messages, progress);
//   if (!session.Load(path)) return;           // "Invalid file version: ..." shown
//   session.ReplaceMessage(U"Home");           // optional: another text, same design
//   session.LoadTextures();
//   if (session.Rebuild()) session.Render(false, true);
//   auto button = session.RenderForExport();   // "Sorry, there is nothing to export"
//   session.Export(*button, size, options, "home.gif", link);
//
// The front ends edit Params and Text in place and then ask for the follow-up. Errors
// that end an operation (a shape file that cannot be read, a picture too large to
// render, a file that cannot be written) are thrown as std::runtime_error naming what
// is wrong; the front end shows or prints them. Messages the designer shows and goes
// on from (a glyph error, a texture that cannot be loaded) go to the message sink;
// its notices (a letter drawn from a fallback font) reach it once per design loaded.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "export/ExportImage.h"
#include "export/ExportOptions.h"
#include "export/ExportSize.h"
#include "image/Bitmap.h"
#include "base/Sinks.h"
#include "render/RenderDriver.h"
#include "scene/Folders.h"
#include "scene/MessageText.h"
#include "scene/Params.h"
#include "session/Build.h"
#include "session/DesignHistory.h"

namespace qz {

inline constexpr const char* NothingToExportMessage = "Sorry, there is nothing to export";

class TDesignSession {
 public:
  // The textures and shape files a design names are found in the folders' texture and
  // shape folders; the preview page goes where they say (Folders.h).
  TDesignSession(TFolders folders, IMessageSink& messages, IProgressSink& progress);
  // Everything in programDir (with its "/"): BShapes/, Textures/, html/ and the
  // factory designs.
  TDesignSession(const std::string& programDir, IMessageSink& messages, IProgressSink& progress);
  TDesignSession(const TDesignSession&) = delete;
  TDesignSession& operator=(const TDesignSession&) = delete;

  TParams Params;     // the design, edited in place by the front ends
  TMessageText Text;  // its message
  TDimensions Dim;    // the export size, refitted by Rebuild (starts as the picture's size)

  const TFolders& Folders() const { return folders_; }
  void SetMessageSink(IMessageSink& messages) { notices_.Target = &messages; }
  IMessageSink& Messages() const { return *notices_.Target; }
  IProgressSink& Progress() const { return *progress_; }

  // ---- The design ----------------------------------------------------------------

  // Loads a work, template or factory design (a name not found as given is looked up
  // without regard to case in its folder); the light and the shadows then follow its
  // angles. False, with the design unchanged, when the file was refused (the message
  // has been shown). Its textures are loaded by LoadTextures, which stores the paths
  // found into the design. A design loaded starts a new history.
  bool Load(const std::string& path);
  // A design begun from a factory design or a template (New, New from template):
  // loaded as above, then laid out with shaping, as every new design is.
  bool Begin(const std::string& path);
  // Replaces the whole message, every character in the format of the first one (its
  // charset as typing gives it).
  void ReplaceMessage(std::u32string_view text);
  // Loads the texture the design names for the letters (the button), reporting a file
  // that cannot be loaded; no name or no file means no texture.
  void LoadTextTexture();
  void LoadButtonTexture();
  // Both, the letters' first.
  void LoadTextures();
  // A picture file the user hands the design (dropped on it) as the letters' (the
  // button's) texture: the design names it and the texture is loaded. A file that
  // cannot be loaded is reported ("Error loading file: PATH: why") and changes
  // nothing; false then.
  bool UseTextureFile(bool text, const std::string& path);
  // Drops the letters' (button's) texture and its name; false when there was none.
  bool ClearTexture(bool text);
  bool TextTextured() const { return built_.View.TextTextured; }
  bool ButtonTextured() const { return built_.View.ButtonTextured; }
  // The design names a shape file that is in no shape folder and no shape was read
  // before: its button would have no outline.
  bool ShapeFileMissing() const;

  // ---- Undo and redo -------------------------------------------------------------

  // The user's edits of this design (DesignHistory.h): reset by a load, marked clean
  // by a save; the front end records each edit and amends after each rebuild.
  TDesignHistory History;
  // The design as a user's edit may change it, and back: a restored state loads the
  // textures again when their files or scales differ from those loaded.
  TDesignState State() const;
  void Restore(const TDesignState& state);
  // History.Record of the design as it stands.
  bool RecordEdit(int mergeKey = 0) { return History.Record(State(), mergeKey); }
  // One step back (forward), restored; false when there is none.
  bool Undo();
  bool Redo();

  // ---- Build, render, preview --------------------------------------------------------

  // Nothing to build: an empty message, or a heading (no button) of blanks only.
  bool NothingToBuild() const;
  // With nothing to build, clears what was built and makes the picture a 16 x 16 field
  // of the background colour (its mask black), and gives false. Otherwise builds, with
  // the stages' texts and progress, and gives true. Throws when a stage fails (the
  // stages before it keep what they made).
  bool Rebuild();
  // Renders the built design into the picture (with its coverage mask when asked),
  // with the status texts and progress of a render when asked. Throws, leaving the
  // picture as it was, when the picture would be too large (naming the shape file when
  // it is the cause).
  void Render(bool withMask, bool progress);
  // After a rebuild's render: the export size follows a picture of a new size, unless
  // the design holds its size.
  void RefitExportSize();
  // The size a rebuild fits the export to for the picture as it stands.
  TExportSize FittedExportSize() const;

  const TPicture& Picture() const { return picture_; }
  const TBuiltDesign& Built() const { return built_; }

  // The picture scaled for a preview area of clientW x clientH at the design's
  // ViewSize (smooth or a plain stretch), with the texts " Stretching preview ..." and
  // " Displaying preview ..." and their progress; an empty message shows a 16 x 16
  // field of the background. The result stays as Preview (the icon is made from it).
  const TBitmap& ScalePreview(int clientW, int clientH, bool smooth);
  const TBitmap& Preview() const { return preview_; }

  // ---- Export and save ---------------------------------------------------------------

  // The picture and its mask rendered once more for an export, on the design's
  // background; nothing, after NothingToExportMessage, when the message is empty. The
  // session's own picture is left as it was.
  std::optional<TRenderedButton> RenderForExport();
  // The button scaled to size and written to path in options.Format; with
  // options.Scale 2 or 3 also name@2x.ext (@3x) at that many times the size, drawn
  // anew at least that large (never a scaled-up picture); with options.States also
  // name-hover.ext and name-pressed.ext (and theirs at the scale) in the same frame,
  // and name.html, the HTML that swaps them. A PNG or WebP with transparency is drawn
  // on black and on white for its alpha. With options.BrowserPreview the export's facts
  // (the link among them) go into Buttons.dat and the preview page is filled from its
  // template, where the folders put them. All or nothing: a failure leaves every file
  // as it was. Gives the bytes of the picture at path.
  uint64_t Export(const TRenderedButton& button, TExportSize size, const TExportOptions& options,
                  const std::string& path, const std::string& link);
  // The picture a PNG export with transparency writes now, for the clipboard: the
  // button at the export size (Dim) as colours and true alpha (soft edges, a
  // see-through shadow). Nothing, after NothingToExportMessage, for an empty message;
  // throws for a size no export takes.
  std::optional<TUnmixed> ExportPicture();
  // Writes the design as a work or template with Dim as its export size, then, for a
  // message that is not empty, the icon made from Preview (" Sretching icon ...",
  // " Saving icon ...", " Done"); the history's present state is then the saved one.
  // True when an icon was saved.
  bool Save(const std::string& path);

 private:
  // Renders a build of the design (the session's, or one at another scale) with
  // params, naming the shape file when it makes the picture too large.
  static void Render(TBuiltDesign& built, const TParams& params, TPicture& picture, bool withMask, bool progress,
                     IProgressSink& sink, const TRenderFrame* frame = nullptr);
  // The button of a build in a state for an export (on black and on white when alpha).
  TRenderedButton RenderButton(TBuiltDesign& built, const TParams& params, bool alpha,
                               const TRenderFrame* frame);
  // A build of the design drawn factor times as large: the projection and the shadows
  // scaled, the textures fitted anew from their files. Reports nothing (the
  // session's own build said it all).
  void BuildScaled(double factor, TParams& params, TBuiltDesign& built) const;
  void Build(TParams& params, TMessageText& text, TBuiltDesign& built, IMessageSink& messages,
             IProgressSink& progress) const;

  // The session's sink: messages pass on, a notice only the first time it is said
  // since the design was loaded (a rebuild on every key would repeat it).
  class TNoticeOnce : public IMessageSink {
   public:
    void ShowMessage(const std::string& text) override { Target->ShowMessage(text); }
    void ShowNotice(const std::string& text) override {
      if (said_.insert(text).second) Target->ShowNotice(text);
    }
    void Forget() { said_.clear(); }
    IMessageSink* Target = nullptr;

   private:
    std::set<std::string> said_;
  };

  TFolders folders_;
  TNoticeOnce notices_;
  IProgressSink* progress_;
  TBuiltDesign built_;
  TPicture picture_;
  TBitmap preview_;
};

}  // namespace qz
