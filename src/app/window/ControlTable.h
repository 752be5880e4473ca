// The editing controls of the main window as data: for each control, the tab it is
// on, the design field it writes, its range, what it is loaded with, the follow-up
// it asks for and whether the edit itself marks the design modified. The window's
// handlers write the field and then hand the control to FollowUp, which reads the
// rest from here; DesignToControls loads the value controls from the Loaded column;
// the window's test walks the same rows.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qz {

struct TParams;

enum class TControl {
  MessageEdit,
  FontSelection,
  AdvancedText,
  BkgColorSelection,
  BkgHexBox,
  BkgSetHex,
  TextColorSelection,
  TextTextureSelection,
  TextClearTexture,
  TextTexWidth,
  TextTexHeight,
  TextConstrain,
  ButtonColorSelection,
  ButtonTextureSelection,
  ButtonClearTexture,
  ButtonTexWidth,
  ButtonTexHeight,
  ButtonConstrain,
  OutlineComplexity,
  TextExtrusion,
  TextAltitude,
  TextDropShadow,
  ShapeSelection,
  ButtonExtrusion,
  ButtonAltitude,
  ButtonDropShadow,
  HoldButtonSize,
  HideButton,
  LightMarker,
  LightColorSelection,
  Brightness,
  LinkAddress,
  DimWidthEdit,
  DimHeightEdit,
  WidthRuler,
  HeightRuler,
  DimConstrain,
  Count
};

// What an edit asks for once it has written its field.
enum class TEffect {
  None,             // the control changes no design field
  RebuildNow,       // Rebuild at once
  RebuildDeferred,  // RebuildPending, countdown restarted
  RenderNow,        // RedrawPreview at once
  RenderDeferred,   // RenderPending, countdown restarted
  TextureDeferred,  // TexturePending (runs with the next due work)
  AtExport,         // read only by the export
};

enum class TTab {
  Caption,
  Background,
  CaptionColor,
  ButtonColor,
  CaptionTuneup,
  ButtonTuneup,
  LightSource,
  Link,
  Dimensions,
  Export,
  Count
};

struct TTabRow {
  TTab Tab;
  const char* Caption;  // with its trailing blank, as the tab shows it
};
extern const std::array<TTabRow, static_cast<size_t>(TTab::Count)> TabTable;

struct TControlRow {
  TControl Id;
  const char* Name;   // the widget's object name, after its role
  TTab Tab;
  const char* Field;  // the design field written, as the work file names it
  int32_t Min = 0, Max = 0;  // the range of a slider, spinner or list
  TEffect Effect = TEffect::None;
  bool ZeroDelay = false;  // the deferred work is due at the next tick (countdown 0)
  bool Marks = false;      // the handler itself sets Modified (a rebuild always does)
  // The value DesignToControls puts into the control; null for controls not loaded.
  int32_t (*Loaded)(const TParams&) = nullptr;
};

extern const std::array<TControlRow, static_cast<size_t>(TControl::Count)> ControlTable;

inline const TControlRow& ControlRow(TControl id) { return ControlTable[static_cast<size_t>(id)]; }
inline const char* TabCaption(TTab tab) { return TabTable[static_cast<size_t>(tab)].Caption; }

}  // namespace qz
