// The edits of a design: each applies the rules that go with it, then Edited records
// its undo step and says what follows.
#include <memory>
#include <utility>

#include "base/FileUtil.h"

#include "scene/WorkFile.h"
#include "session/DesignSession.h"
#include "session/TextureFiles.h"
#include "text/FontEngine.h"

namespace qz {

TEditResult TDesignSession::Edited(TFollowUp follow, TBurst burst, int detail) {
  // A burst's edits join one step; each kind (and each part or side of it) its own.
  const int key = burst == TBurst::None ? 0 : static_cast<int>(burst) * 4 + detail + 1;
  TEditResult result;
  result.Changed = history_.Record(state_, key);
  result.Follow = result.Changed ? follow : TFollowUp::None;
  if (result.Follow == TFollowUp::Rebuild) buildStale_ = true;
  result.Unsaved = Unsaved();
  return result;
}

void TDesignSession::FollowLight() {
  TParams& p = state_.Params;
  // The light vector and the shadows are seen from the camera the build places.
  p.Render.Y = static_cast<float>(p.Distance);
  p.SetLightAngles(p.A1, p.A2);
}

// ---- The message ---------------------------------------------------------------------

TEditResult TDesignSession::SetMessage(const TMessageText& text) {
  state_.Text = text;
  state_.Text.OnSelectionChange = nullptr;  // the design is data: it calls nobody
  return Edited(TFollowUp::Rebuild, TBurst::Message);
}

TEditResult TDesignSession::SetText(const TMessageText& text, bool shaping) {
  state_.Text = text;
  state_.Text.OnSelectionChange = nullptr;
  state_.Params.Shaping = shaping;
  return Edited(TFollowUp::Rebuild);
}

TEditResult TDesignSession::ReplaceMessage(std::u32string_view text) {
  qz::ReplaceMessage(state_.Text, text);
  return Edited(TFollowUp::Rebuild);
}

TEditResult TDesignSession::SetShaping(bool on) {
  state_.Params.Shaping = on;
  return Edited(TFollowUp::Rebuild);
}

TEditResult TDesignSession::ApplyFontToAll(const TCharFormat& font) {
  TCharFormat chosen = font;
  chosen.Charset = TFontEngine::TypingCharset(chosen.Name);
  TMessageText& text = state_.Text;
  text.SetDefaultFormat(chosen);
  const int caret = text.SelStart();
  text.SetSelection(0, text.Length());
  text.SetSelName(chosen.Name);
  text.SetSelBold(chosen.Bold);
  text.SetSelItalic(chosen.Italic);
  text.SetSelUnderline(chosen.Underline);
  text.SetSelCharset(chosen.Charset);
  text.SetSelection(caret, 0);
  return Edited(TFollowUp::Rebuild);
}

// ---- Colours and textures --------------------------------------------------------------

TEditResult TDesignSession::SetBackground(TColor color) {
  state_.Params.BkgColor = color;
  return Edited(TFollowUp::Render);
}

TEditResult TDesignSession::SetColor(TPart part, TColor color) {
  Side(state_.Params, part).MColor = color;
  return Edited(TFollowUp::Render);
}

TEditResult TDesignSession::ChooseTexture(TPart part, const std::string& path) {
  std::optional<TBitmap> picture = ReadTextureFile(path, notices_);
  if (!picture) return Edited(TFollowUp::None);  // reported; nothing changed
  Side(state_.Params, part).TexFile = path;
  (part == TPart::Text ? textures_.Text : textures_.Button) = std::make_shared<const TBitmap>(std::move(*picture));
  return Edited(TFollowUp::Rebuild);
}

TEditResult TDesignSession::ClearTexture(TPart part) {
  if (!Textured(part)) return Edited(TFollowUp::None);
  Side(state_.Params, part).TexFile.clear();
  (part == TPart::Text ? textures_.Text : textures_.Button) = nullptr;
  // What is built draws the part with its colours at once: no rebuild is needed.
  TView3D& view = built_.View;
  (part == TPart::Text ? view.TextTextured : view.ButtonTextured) = false;
  (part == TPart::Text ? view.TextFittedFrom : view.ButtonFittedFrom) = nullptr;
  return Edited(TFollowUp::Render);
}

TEditResult TDesignSession::SetTextureTiles(TPart part, bool across, int32_t count) {
  TSideParams& side = Side(state_.Params, part);
  (across ? side.TexW : side.TexH) = static_cast<float>(count);
  // Only a texture in use shows the change; with its proportions held the count
  // across follows the one down.
  const bool shown = Textured(part) && (part == TPart::Text || Params().Type > 0) && !(across && side.HoldRatio);
  return Edited(shown ? TFollowUp::Rebuild : TFollowUp::None, TBurst::Tiles, Index(part) * 2 + (across ? 0 : 1));
}

TEditResult TDesignSession::HoldTextureRatio(TPart part, bool on) {
  Side(state_.Params, part).HoldRatio = on;
  return Edited(Textured(part) ? TFollowUp::Rebuild : TFollowUp::None);
}

// ---- Geometry ----------------------------------------------------------------------------

TEditResult TDesignSession::SetOutlineComplexity(int32_t splPnt) {
  state_.Params.SplPnt = splPnt;
  return Edited(TFollowUp::Rebuild);
}

TEditResult TDesignSession::SetExtrusion(TPart part, int32_t depth) {
  if (part == TPart::Text)
    state_.Params.TxtY = depth;
  else
    state_.Params.ButY = -depth;  // the button's extrusion is held negative
  return Edited(TFollowUp::Rebuild, TBurst::Extrusion, Index(part));
}

TEditResult TDesignSession::SetAltitude(TPart part, int32_t altitude) {
  TShadow& shadow = state_.Shadows[Index(part)];
  shadow.Altitude = altitude;
  if (!shadow.On) return Edited(TFollowUp::None, TBurst::Altitude, Index(part));
  Side(state_.Params, part).Altitude = altitude;
  FollowLight();  // the shadow offsets follow the altitude
  return Edited(TFollowUp::Render, TBurst::Altitude, Index(part));
}

TEditResult TDesignSession::SetDropShadow(TPart part, bool on) {
  TShadow& shadow = state_.Shadows[Index(part)];
  shadow.On = on;
  Side(state_.Params, part).Altitude = on ? shadow.Altitude : 0;
  FollowLight();
  return Edited(TFollowUp::Rebuild);
}

TEditResult TDesignSession::ChooseShape(const std::string& fileName) {
  state_.Params.ShapeName = BareFileName(fileName);
  state_.Params.Type = TButtonType::ShapeFile;
  return Edited(TFollowUp::Rebuild);
}

TEditResult TDesignSession::SetHoldButtonSize(bool on) {
  TParams& p = state_.Params;
  p.HoldButtonSize = on;
  if (!on) return Edited(TFollowUp::Rebuild);  // the button and the export size are fitted again
  // The button keeps the rectangle it was last built in.
  if (built_.Figures.HasButton) {
    const TButtonRect& r = built_.Figures.Button;
    p.ButLeft = r.Left;
    p.ButTop = r.Top;
    p.ButRight = r.Right;
    p.ButBottom = r.Bottom;
  }
  return Edited(TFollowUp::None);
}

TEditResult TDesignSession::HideButton(bool hide) {
  TParams& p = state_.Params;
  p.Type = hide ? TButtonType::None : (p.ShapeName.empty() ? TButtonType::Rounded : TButtonType::ShapeFile);
  return Edited(TFollowUp::Rebuild);
}

// ---- Light -----------------------------------------------------------------------------

TEditResult TDesignSession::SetLightAngles(float a1, float a2) {
  state_.Params.A1 = a1;
  state_.Params.A2 = a2;
  FollowLight();
  return Edited(TFollowUp::Render);
}

TEditResult TDesignSession::SetLightColor(TColor color) {
  state_.Params.Light.Color = color;
  return Edited(TFollowUp::Render);
}

TEditResult TDesignSession::SetBrightness(int32_t brightness) {
  TParams& p = state_.Params;
  if (brightness == p.Brightness) return Edited(TFollowUp::None);
  p.Brightness = p.Message.ColSplit = p.Button.ColSplit = brightness;
  return Edited(TFollowUp::Rebuild, TBurst::Brightness);
}

// ---- The whole record, the export size ------------------------------------------------------

TEditResult TDesignSession::SetOptions(const TParams& params) {
  const TParams before = Params();
  state_.Params = params;
  for (TPart part : {TPart::Text, TPart::Button}) {
    const int32_t altitude = Side(state_.Params, part).Altitude;
    if (altitude != (part == TPart::Text ? before.Message.Altitude : before.Button.Altitude))
      state_.Shadows[Index(part)] = {true, altitude};
  }
  FollowLight();
  state_.Params.ExpWidth = state_.Dim.Width;  // the export size is the Dimensions tab's
  state_.Params.ExpHeight = state_.Dim.Height;
  RestoreTextures(before);
  return Edited(TFollowUp::Rebuild);
}

TEditResult TDesignSession::SetExportSize(TSide side, int32_t value, bool constrain) {
  SetExportSide(state_.Dim, side, value, constrain);
  state_.Params.ExpWidth = state_.Dim.Width;
  state_.Params.ExpHeight = state_.Dim.Height;
  return Edited(TFollowUp::None, TBurst::ExportSize, side == TSide::Width ? 0 : 1);
}

}  // namespace qz
