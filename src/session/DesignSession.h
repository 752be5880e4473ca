// TDesignSession: one design being worked on, as the designer and quenzar-cli both
// drive it. It owns the design (parameters, message, export size), what a build made
// from it, the rendered picture and the preview, and every rule that goes with a
// change of the design: the front ends change it only through the edits below, each
// named for what the user does. An edit applies its rules, records its undo step and
// says what follows it and whether the design is now unsaved:
//
//   TDesignSession session(folders, messages, progress);
//   if (!session.Open(path)) return;            // "Invalid file version: ..." shown
//   session.Rebuild();                          // build, render, export size
//   TEditResult r = session.SetBrightness(150); // r.Follow == TFollowUp::Rebuild
//   if (r.Follow == TFollowUp::Rebuild) session.Rebuild();
//   auto button = session.RenderForExport();    // "Sorry, there is nothing to export"
//   session.Export(*button, session.ExportSize(), options, "home.gif", link);
//
// Every picture depends on the design alone: the build returns what it computes
// instead of writing it into the design, textures are always fitted from their own
// pictures, and the export size follows one rule (export/ExportSize.h). So the same
// design gives the same files from either front end, whatever was done before.
//
// Errors that end an operation (a shape file that cannot be read, a picture too large
// to render, a file that cannot be written) are thrown as std::runtime_error naming
// what is wrong; the front end shows or prints them. Messages the designer shows and
// goes on from (a glyph error, a texture that cannot be loaded) go to the message
// sink; its notices (a letter drawn from a fallback font) reach it once per design
// loaded.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "base/Sinks.h"
#include "export/ExportImage.h"
#include "export/ExportOptions.h"
#include "export/ExportSize.h"
#include "image/Bitmap.h"
#include "render/RenderDriver.h"
#include "scene/Folders.h"
#include "scene/MessageText.h"
#include "scene/Params.h"
#include "session/Build.h"
#include "session/DesignHistory.h"

namespace qz {

inline constexpr const char* NothingToExportMessage = "Sorry, there is nothing to export";

// The two parts of a design that have their own colours, texture, extrusion and
// altitude: the letters (the design's "Message") and the button.
enum class TPart { Text, Button };

// What an edit asks the front end to do next.
enum class TFollowUp {
  None,     // nothing shows the change (a saved field, the export size)
  Render,   // the built design drawn again (colours, light, shadows)
  Rebuild,  // built and drawn again (geometry, fonts, textures fitted anew)
};

struct TEditResult {
  bool Changed = false;  // the design changed (an undo step was made or grew)
  TFollowUp Follow = TFollowUp::None;
  bool Unsaved = false;  // the design differs from the one last saved or opened
};

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

  const TFolders& Folders() const { return folders_; }
  void SetMessageSink(IMessageSink& messages) { notices_.Target = &messages; }
  IMessageSink& Messages() const { return *notices_.Target; }
  IProgressSink& Progress() const { return *progress_; }

  // ---- The design as it stands ---------------------------------------------------

  const TParams& Params() const { return state_.Params; }
  const TMessageText& Text() const { return state_.Text; }
  // The export size with the picture size it was fitted to.
  const TDimensions& Dimensions() const { return state_.Dim; }
  TExportSize ExportSize() const { return state_.Dim.Size(); }
  // Whether the part casts a shadow, and the altitude its slider shows (the one it
  // gets back when its shadow is switched on again).
  const TShadow& Shadow(TPart part) const { return state_.Shadows[Index(part)]; }
  // The part has a texture picture loaded (its file was found and read).
  bool Textured(TPart part) const { return Picture(part) != nullptr; }
  // The tile counts the part's texture is drawn with: those the last fit settled on,
  // else the design's own.
  TTextureFit TextureTiles(TPart part) const;
  // The design names a shape file that is in no shape folder and no shape was read
  // before: its button would have no outline.
  bool ShapeFileMissing() const;

  // ---- Opening a design ------------------------------------------------------------

  // A work (.qznr) opens as it was saved (Load); a template (.qzpl) or a factory design
  // (.dat) begins a new design (Begin). False, with the design unchanged, when the
  // file was refused (the message has been shown).
  bool Open(const std::string& path);
  // Loads a work, template or factory design (a name not found as given is looked up
  // without regard to case in its folder) with its textures and its stored export
  // size; the light and the shadows follow its angles. A design opened starts a new
  // history and is saved as it stands.
  bool Load(const std::string& path);
  // A new design begun from a factory design or a template: loaded as above, then laid
  // out with shaping, as every new design is.
  bool Begin(const std::string& path);
  // A design given whole (the authoring tools, tests): its textures loaded, the light
  // and shadows following its angles, its export size fitted by its first build.
  void Start(const TParams& params, const TMessageText& text);

  // ---- Edits ---------------------------------------------------------------------

  // The message as typed in the message box (characters and their formats, the
  // typing format); the selection does not count.
  TEditResult SetMessage(const TMessageText& text);
  // The message and the shaping choice of the Advanced Text Settings.
  TEditResult SetText(const TMessageText& text, bool shaping);
  // Replaces the whole message, every character in the format of the first one (its
  // charset as typing gives it).
  TEditResult ReplaceMessage(std::u32string_view text);
  TEditResult SetShaping(bool on);
  // A font chosen for the whole message: the typing format takes it all; every
  // character takes its face, style and charset and keeps its own size (on the codes,
  // so a character keeps its code when its charset changes). A face that has only a
  // symbol map types symbol codes (charset 2), any other the default charset.
  TEditResult ApplyFontToAll(const TCharFormat& font);
  // The background (page) colour.
  TEditResult SetBackground(TColor color);
  // The part's colour (the middle colour of its shade ramp).
  TEditResult SetColor(TPart part, TColor color);
  // A picture file the user chose (or dropped) as the part's texture. A file that
  // cannot be loaded is reported ("Error loading file: PATH: why") and changes
  // nothing.
  TEditResult ChooseTexture(TPart part, const std::string& path);
  // Drops the part's texture and its name; nothing when it has none loaded.
  TEditResult ClearTexture(TPart part);
  // The tiles of the part's texture across (width) or down. With the texture's
  // proportions held the count across follows the one down: setting it shows nothing.
  TEditResult SetTextureTiles(TPart part, bool across, int32_t count);
  TEditResult HoldTextureRatio(TPart part, bool on);
  // 1 Simple, 2 Normal, 3 Complex.
  TEditResult SetOutlineComplexity(int32_t splPnt);
  // How far the part is extruded (the button's is kept negative in the design).
  TEditResult SetExtrusion(TPart part, int32_t depth);
  // The part's altitude: its shadow moves with it (while switched off, only the
  // altitude it will get back changes).
  TEditResult SetAltitude(TPart part, int32_t altitude);
  // The part's drop shadow: on, the part gets its altitude back; off, altitude 0.
  TEditResult SetDropShadow(TPart part, bool on);
  // A shape file (its bare name) for the button, which is shown again.
  TEditResult ChooseShape(const std::string& fileName);
  // Holding the button size keeps the button's rectangle as the last build made it
  // (and the export size as it is); letting go refits both.
  TEditResult SetHoldButtonSize(bool on);
  // A heading without button; shown again, the button takes the shape file when the
  // design names one, else the rounded rectangle.
  TEditResult HideButton(bool hide);
  TEditResult SetLightAngles(float a1, float a2);
  TEditResult SetLightColor(TColor color);
  // Brightness, which also sets both parts' colour split.
  TEditResult SetBrightness(int32_t brightness);
  // The whole record of the Advanced Options dialog: the camera follows Distance and
  // the shadows follow the new factors and altitudes.
  TEditResult SetOptions(const TParams& params);
  // One side of the export size (see SetExportSide).
  TEditResult SetExportSize(TSide side, int32_t value, bool constrain);

  // ---- Undo and redo ------------------------------------------------------------------

  // The design differs from the one last saved or opened.
  bool Unsaved() const { return !history_.IsClean(); }
  bool CanUndo() const { return history_.CanUndo(); }
  bool CanRedo() const { return history_.CanRedo(); }
  // One step back (forward), restored with its textures; false when there is none.
  // The design is to be rebuilt.
  bool Undo();
  bool Redo();
  // The user paused: the next slider or typing edit makes a new step.
  void SealEdits() { history_.Seal(); }
  // Called whenever unsaved, can-undo or can-redo may have changed.
  std::function<void()> OnHistoryChange;
  // The history itself (tests look at its steps).
  const TDesignHistory& History() const { return history_; }

  // ---- Build, render, preview --------------------------------------------------------

  // Nothing to build: an empty message, or a heading (no button) of blanks only.
  bool NothingToBuild() const;
  // An edit since the last rebuild asked for one.
  bool NeedsRebuild() const { return buildStale_; }
  // With nothing to build, clears what was built and makes the picture a 16 x 16 field
  // of the background colour (its mask black), and gives false. Otherwise builds and
  // renders, with the stages' texts and progress, then refits the export size to the
  // picture (ExportSize.h), and gives true. Throws when a stage fails (the stages
  // before it keep what they made) or the picture would be too large.
  bool Rebuild();
  // Renders the built design into the picture (with its coverage mask when asked),
  // with the status texts and progress of a render when asked. Throws, leaving the
  // picture as it was, when the picture would be too large (naming the shape file when
  // it is the cause).
  void Render(bool withMask, bool progress);
  // The size a rebuild fits the export to for the picture as it stands.
  TExportSize FittedExportSize() const;

  const TPicture& Picture() const { return picture_; }
  const TBuiltDesign& Built() const { return built_; }
  // The design as the last build drew it (and a save writes it): AsBuilt.
  TParams BuiltParams() const { return AsBuilt(state_.Params, built_.Figures); }

  // The picture scaled for a preview area of clientW x clientH at the design's
  // ViewSize (smooth or a plain stretch), with the texts " Stretching preview ..." and
  // " Displaying preview ..." and their progress; an empty message shows a 16 x 16
  // field of the background.
  const TBitmap& ScalePreview(int clientW, int clientH, bool smooth);
  const TBitmap& Preview() const { return preview_; }

  // ---- Export and save ---------------------------------------------------------------

  // The picture and its mask rendered once more for an export, on the design's
  // background (rebuilt first when an edit asked for it); nothing, after
  // NothingToExportMessage, when the message is empty. The session's own picture is
  // left as it was.
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
  // button at the export size as colours and true alpha (soft edges, a see-through
  // shadow). Nothing, after NothingToExportMessage, for an empty message; throws for a
  // size no export takes.
  std::optional<TUnmixed> ExportPicture();
  // Writes the design as a work or template (rebuilt first when an edit asked for it)
  // with its export size and, for a message that is not empty, the icon: the design's
  // own render on 120 x 40 pixels (" Sretching icon ...", " Saving icon ...",
  // " Done"), keys and icon in one replacement of the file. The design is then the
  // saved one. True when an icon was saved.
  bool Save(const std::string& path);

 private:
  static constexpr int Index(TPart part) { return part == TPart::Text ? 0 : 1; }
  static TSideParams& Side(TParams& p, TPart part) { return part == TPart::Text ? p.Message : p.Button; }
  const TTexturePicture& Picture(TPart part) const { return part == TPart::Text ? textures_.Text : textures_.Button; }

  // The kinds of edit that come in bursts (a slider dragged, a word typed): the
  // edits of one kind in a row are one undo step.
  enum class TBurst { None, Message, Tiles, Extrusion, Altitude, Brightness, ExportSize };
  // The edit made: its undo step (joining the open one of the same burst), what
  // follows it and the unsaved mark.
  TEditResult Edited(TFollowUp follow, TBurst burst = TBurst::None, int detail = 0);
  // The light vector and the shadow offsets recomputed from the design's angles.
  void FollowLight();
  // The design opened or given whole: textures loaded, a new history, nothing unsaved.
  void Opened();
  // Loads the texture the design names for the part (the path found becomes its name);
  // no name, no file or a picture that cannot be read: no texture.
  void LoadTexture(TPart part);
  // A restored design's textures: loaded again where it names other files.
  void RestoreTextures(const TParams& before);
  // The state a step of the history gives back, with its textures; false for none.
  bool Restore(const TDesignState* state);
  // Built anew when an edit asked for it (before an export or a save).
  void Current();

  // Renders a build of the design (the session's, or one at another scale) with
  // params, naming the shape file when it makes the picture too large.
  static void Render(TBuiltDesign& built, const TParams& params, TPicture& picture, bool withMask, bool progress,
                     IProgressSink& sink, const TRenderFrame* frame = nullptr);
  // The button of a build in a state for an export (on black and on white when alpha).
  TRenderedButton RenderButton(TBuiltDesign& built, const TParams& params, bool alpha,
                               const TRenderFrame* frame);
  // A build of the design drawn factor times as large: the projection and the shadows
  // scaled, the textures fitted anew from their pictures. Reports nothing (the
  // session's own build said it all). Gives the design as that build draws it.
  TParams BuildScaled(double factor, TBuiltDesign& built) const;
  void Build(const TParams& params, TBuiltDesign& built, IMessageSink& messages, IProgressSink& progress) const;
  // The export files of one scale (the design itself at scale 1, a larger drawing at 2
  // or 3), each state in the frame of the first.
  uint64_t WriteScale(int scale, const TRenderedButton& button, TExportSize size, const TExportOptions& options,
                      const std::string& path, TFileGroup& files);

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
  TDesignState state_;   // the design: parameters, message, export size, shadows
  TDesignHistory history_;
  TTextures textures_;   // the pictures the design's texture files hold
  bool buildStale_ = true;
  TBuiltDesign built_;
  TPicture picture_;
  TBitmap preview_;
};

}  // namespace qz
