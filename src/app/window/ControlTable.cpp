#include "app/window/ControlTable.h"

#include "base/Numeric.h"
#include "scene/Params.h"

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

using E = TEffect;
using C = TControl;
using T = TTab;

// Loaded values: what each value control shows for the design.
int32_t TexWLoad(const TSideParams& s) { return RoundHalfEven(s.TexW); }
int32_t TexHLoad(const TSideParams& s) { return RoundHalfEven(s.TexH); }

}  // namespace

// Columns: id, name, tab, field, min, max, effect, zero delay, marks, loaded.
// Conditions that the table cannot say are in the handlers: the texture spinners ask
// only while their texture is loaded (Width also only without constrained
// proportions; the button's also only with a button), " Hold button size" asks only
// when switched off, Brightness only when its value changed.
const std::array<TControlRow, static_cast<size_t>(TControl::Count)> ControlTable = {{
    {C::MessageEdit, "messageEdit", T::Caption, "Message text", 0, 32, E::RebuildDeferred, false, true},
    {C::FontSelection, "fontSelectionButton", T::Caption, "Message fonts", 0, 0, E::RebuildNow},
    {C::AdvancedText, "advancedTextButton", T::Caption, "Message text and fonts", 0, 0, E::RebuildNow},
    {C::BkgColorSelection, "backgroundColorButton", T::Background, "BkgColor", 0, 0, E::RenderNow, false, true},
    {C::BkgHexBox, "hexColorBox", T::Background, "", 0, 6, E::None},
    {C::BkgSetHex, "setHexButton", T::Background, "BkgColor", 0, 0, E::RenderNow, false, true},
    {C::TextColorSelection, "textColorButton", T::CaptionColor, "Message.MColor", 0, 0, E::RenderNow, false, true},
    {C::TextTextureSelection, "textTextureButton", T::CaptionColor, "Message.TexFile", 0, 0, E::RebuildNow},
    // Marks: the button's twin does, and the saved design changes (our choice).
    {C::TextClearTexture, "textClearTextureButton", T::CaptionColor, "Message.TexFile", 0, 0, E::RenderNow,
     false, true},
    {C::TextTexWidth, "textTexWidthSpinner", T::CaptionColor, "Message.TexW", 1, 10, E::TextureDeferred, false, true,
     [](const TParams& s) { return TexWLoad(s.Message); }},
    {C::TextTexHeight, "textTexHeightSpinner", T::CaptionColor, "Message.TexH", 1, 10, E::TextureDeferred, false, true,
     [](const TParams& s) { return TexHLoad(s.Message); }},
    {C::TextConstrain, "textConstrainCheck", T::CaptionColor, "Message.HoldRatio", 0, 1, E::TextureDeferred,
     true, false, [](const TParams& s) { return int32_t{s.Message.HoldRatio}; }},
    {C::ButtonColorSelection, "buttonColorButton", T::ButtonColor, "Button.MColor", 0, 0, E::RenderNow, false, true},
    {C::ButtonTextureSelection, "buttonTextureButton", T::ButtonColor, "Button.TexFile", 0, 0, E::RebuildNow},
    {C::ButtonClearTexture, "buttonClearTextureButton", T::ButtonColor, "Button.TexFile", 0, 0, E::RenderNow,
     false, true},
    {C::ButtonTexWidth, "buttonTexWidthSpinner", T::ButtonColor, "Button.TexW", 1, 10, E::TextureDeferred, false, true,
     [](const TParams& s) { return TexWLoad(s.Button); }},
    {C::ButtonTexHeight, "buttonTexHeightSpinner", T::ButtonColor, "Button.TexH", 1, 10, E::TextureDeferred,
     false, true, [](const TParams& s) { return TexHLoad(s.Button); }},
    {C::ButtonConstrain, "buttonConstrainCheck", T::ButtonColor, "Button.HoldRatio", 0, 1, E::TextureDeferred,
     true, false, [](const TParams& s) { return int32_t{s.Button.HoldRatio}; }},
    {C::OutlineComplexity, "outlineComplexityList", T::CaptionTuneup, "SplPnt", 0, 2, E::RebuildNow, false, false,
     [](const TParams& s) { return s.SplPnt - 1; }},
    {C::TextExtrusion, "textExtrusionSlider", T::CaptionTuneup, "TxtY", 10, 310, E::RebuildDeferred, false, false,
     [](const TParams& s) { return s.TxtY; }},
    // Marks: an altitude moves the shadow of the saved design (our choice).
    {C::TextAltitude, "textAltitudeSlider", T::CaptionTuneup, "Message.Altitude", 0, 100, E::RenderDeferred,
     false, true, [](const TParams& s) { return s.Message.Altitude; }},
    {C::TextDropShadow, "textDropShadowCheck", T::CaptionTuneup, "Message.Altitude", 0, 1, E::RebuildNow},
    {C::ShapeSelection, "shapeSelectionButton", T::ButtonTuneup, "ShapeName, Type", 0, 0, E::RebuildNow},
    {C::ButtonExtrusion, "buttonExtrusionSlider", T::ButtonTuneup, "ButY", 0, 300, E::RebuildDeferred, false, false,
     [](const TParams& s) { return -s.ButY; }},
    {C::ButtonAltitude, "buttonAltitudeSlider", T::ButtonTuneup, "Button.Altitude", 0, 100, E::RenderDeferred,
     false, true, [](const TParams& s) { return s.Button.Altitude; }},
    {C::ButtonDropShadow, "buttonDropShadowCheck", T::ButtonTuneup, "Button.Altitude", 0, 1, E::RebuildNow},
    {C::HoldButtonSize, "holdButtonSizeCheck", T::ButtonTuneup, "HoldButtonSize", 0, 1, E::RebuildDeferred, true, false,
     [](const TParams& s) { return int32_t{s.HoldButtonSize}; }},
    {C::HideButton, "hideButtonCheck", T::ButtonTuneup, "Type", 0, 1, E::RebuildNow, false, false,
     [](const TParams& s) { return int32_t{s.Type <= 0}; }},
    {C::LightMarker, "lightMarker", T::LightSource, "a1, a2", 0, 0, E::RenderNow, false, true},
    {C::LightColorSelection, "lightColorButton", T::LightSource, "Light.Color", 0, 0, E::RenderNow, false, true},
    {C::Brightness, "brightnessSlider", T::LightSource, "Brightness", 1, 254, E::RebuildDeferred, false, false,
     [](const TParams& s) { return 255 - s.Brightness; }},
    {C::LinkAddress, "linkAddressBox", T::Link, "", 0, 0, E::AtExport},
    {C::DimWidthEdit, "dimWidthBox", T::Dimensions, "DimWidth", 0, 0, E::None},
    {C::DimHeightEdit, "dimHeightBox", T::Dimensions, "DimHeight", 0, 0, E::None},
    {C::WidthRuler, "widthRuler", T::Dimensions, "DimWidth", 5, 300, E::None},
    {C::HeightRuler, "heightRuler", T::Dimensions, "DimHeight", -145, 10, E::None},
    {C::DimConstrain, "dimConstrainCheck", T::Dimensions, "", 0, 1, E::None},
}};

}  // namespace qz
