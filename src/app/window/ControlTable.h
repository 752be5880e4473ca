// The editing controls of the main window as data: for each control, the tab it is
// on, the design field its edit changes, its range, what it shows of the design, and
// when the work its edit asks for runs. What an edit does to the design, what follows
// it and whether the design is then unsaved are the design session's
// (session/DesignSession.h): the window's handlers call its edit and hand the result
// to FollowUp, which runs the follow-up at the time this table gives;
// DesignToControls loads the value controls from the Shown column.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qz {

class TDesignSession;

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

// When the work an edit asks for (a rebuild, a render) runs.
enum class TWhen {
  Now,       // at once: buttons, lists, check boxes, dialogs
  Paused,    // once the user pauses (RDelay quiet ticks): sliders, spinners, typing
  NextTick,  // at the next timer tick
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
  const char* Field;  // the design field the edit changes, as the work file names it
  int32_t Min = 0, Max = 0;  // the range of a slider, spinner or list
  TWhen When = TWhen::Now;
  // The value DesignToControls puts into the control; null for controls not loaded.
  int32_t (*Shown)(const TDesignSession&) = nullptr;
};

extern const std::array<TControlRow, static_cast<size_t>(TControl::Count)> ControlTable;

inline const TControlRow& ControlRow(TControl id) { return ControlTable[static_cast<size_t>(id)]; }
inline const char* TabCaption(TTab tab) { return TabTable[static_cast<size_t>(tab)].Caption; }

}  // namespace qz
