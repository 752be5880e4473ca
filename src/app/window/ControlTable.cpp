#include "app/window/ControlTable.h"

#include "base/Numeric.h"
#include "session/DesignSession.h"

namespace qz {

const std::array<TTabRow, static_cast<size_t>(TTab::Count)> TabTable = {{
    {TTab::Caption, "Caption "},
    {TTab::Background, "Background "},
    {TTab::CaptionColor, "Caption Color "},
    {TTab::ButtonColor, "Button Color "},
    {TTab::CaptionTuneup, "Caption Tuneup "},
    {TTab::ButtonTuneup, "Button Tuneup "},
    {TTab::LightSource, "Light Source "},
    {TTab::Link, "Link "},
    {TTab::Dimensions, "Dimensions "},
    {TTab::Export, "Export 3D Button "},
}};

namespace {

using C = TControl;
using T = TTab;
using W = TWhen;
using S = const TDesignSession&;

int32_t Tiles(S s, TPart part, bool across) {
  const TTextureFit fit = s.TextureTiles(part);
  return RoundHalfEven(across ? fit.TexW : fit.TexH);
}

}  // namespace

// Columns: id, name, tab, field, min, max, when its work runs, what it shows.
const std::array<TControlRow, static_cast<size_t>(TControl::Count)> ControlTable = {{
    {C::MessageEdit, "messageEdit", T::Caption, "Message text", 0, 32, W::Paused},
    {C::FontSelection, "fontSelectionButton", T::Caption, "Message fonts"},
    {C::AdvancedText, "advancedTextButton", T::Caption, "Message text and fonts"},
    {C::BkgColorSelection, "backgroundColorButton", T::Background, "BkgColor"},
    {C::BkgHexBox, "hexColorBox", T::Background, "", 0, 6},
    {C::BkgSetHex, "setHexButton", T::Background, "BkgColor"},
    {C::TextColorSelection, "textColorButton", T::CaptionColor, "Message.MColor"},
    {C::TextTextureSelection, "textTextureButton", T::CaptionColor, "Message.TexFile"},
    {C::TextClearTexture, "textClearTextureButton", T::CaptionColor, "Message.TexFile"},
    {C::TextTexWidth, "textTexWidthSpinner", T::CaptionColor, "Message.TexW", 1, 10, W::Paused,
     [](S s) { return Tiles(s, TPart::Text, true); }},
    {C::TextTexHeight, "textTexHeightSpinner", T::CaptionColor, "Message.TexH", 1, 10, W::Paused,
     [](S s) { return Tiles(s, TPart::Text, false); }},
    {C::TextConstrain, "textConstrainCheck", T::CaptionColor, "Message.HoldRatio", 0, 1, W::NextTick,
     [](S s) { return int32_t{s.Params().Message.HoldRatio}; }},
    {C::ButtonColorSelection, "buttonColorButton", T::ButtonColor, "Button.MColor"},
    {C::ButtonTextureSelection, "buttonTextureButton", T::ButtonColor, "Button.TexFile"},
    {C::ButtonClearTexture, "buttonClearTextureButton", T::ButtonColor, "Button.TexFile"},
    {C::ButtonTexWidth, "buttonTexWidthSpinner", T::ButtonColor, "Button.TexW", 1, 10, W::Paused,
     [](S s) { return Tiles(s, TPart::Button, true); }},
    {C::ButtonTexHeight, "buttonTexHeightSpinner", T::ButtonColor, "Button.TexH", 1, 10, W::Paused,
     [](S s) { return Tiles(s, TPart::Button, false); }},
    {C::ButtonConstrain, "buttonConstrainCheck", T::ButtonColor, "Button.HoldRatio", 0, 1, W::NextTick,
     [](S s) { return int32_t{s.Params().Button.HoldRatio}; }},
    {C::OutlineComplexity, "outlineComplexityList", T::CaptionTuneup, "SplPnt", 0, 2, W::Now,
     [](S s) { return s.Params().SplPnt - 1; }},
    {C::TextExtrusion, "textExtrusionSlider", T::CaptionTuneup, "TxtY", 10, 310, W::Paused,
     [](S s) { return s.Params().TxtY; }},
    {C::TextAltitude, "textAltitudeSlider", T::CaptionTuneup, "Message.Altitude", 0, 100, W::Paused,
     [](S s) { return s.Shadow(TPart::Text).Altitude; }},
    {C::TextDropShadow, "textDropShadowCheck", T::CaptionTuneup, "Message.Altitude", 0, 1, W::Now,
     [](S s) { return int32_t{s.Shadow(TPart::Text).On}; }},
    {C::ShapeSelection, "shapeSelectionButton", T::ButtonTuneup, "ShapeName, Type"},
    {C::ButtonExtrusion, "buttonExtrusionSlider", T::ButtonTuneup, "ButY", 0, 300, W::Paused,
     [](S s) { return -s.Params().ButY; }},
    {C::ButtonAltitude, "buttonAltitudeSlider", T::ButtonTuneup, "Button.Altitude", 0, 100, W::Paused,
     [](S s) { return s.Shadow(TPart::Button).Altitude; }},
    {C::ButtonDropShadow, "buttonDropShadowCheck", T::ButtonTuneup, "Button.Altitude", 0, 1, W::Now,
     [](S s) { return int32_t{s.Shadow(TPart::Button).On}; }},
    {C::HoldButtonSize, "holdButtonSizeCheck", T::ButtonTuneup, "HoldButtonSize", 0, 1, W::NextTick,
     [](S s) { return int32_t{s.Params().HoldButtonSize}; }},
    {C::HideButton, "hideButtonCheck", T::ButtonTuneup, "Type", 0, 1, W::Now,
     [](S s) { return int32_t{s.Params().Type <= 0}; }},
    {C::LightMarker, "lightMarker", T::LightSource, "a1, a2"},
    {C::LightColorSelection, "lightColorButton", T::LightSource, "Light.Color"},
    {C::Brightness, "brightnessSlider", T::LightSource, "Brightness", 1, 254, W::Paused,
     [](S s) { return 255 - s.Params().Brightness; }},
    {C::LinkAddress, "linkAddressBox", T::Link, ""},
    {C::DimWidthEdit, "dimWidthBox", T::Dimensions, "ExpWidth"},
    {C::DimHeightEdit, "dimHeightBox", T::Dimensions, "ExpHeight"},
    {C::WidthRuler, "widthRuler", T::Dimensions, "ExpWidth", 5, 300},
    {C::HeightRuler, "heightRuler", T::Dimensions, "ExpHeight", -145, 10},
    {C::DimConstrain, "dimConstrainCheck", T::Dimensions, "", 0, 1},
}};

}  // namespace qz
