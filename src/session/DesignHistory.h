// TDesignHistory: undo and redo of the edits a user makes to a design. The history
// holds whole states of the design (parameters, message, export size, shadows): each
// step is the state before an edit, so undoing puts that state back as it was,
// however the edit reached it (a slider, a dialog, a dropped texture). The design
// session keeps it:
//
//   history.Reset(state);          // a design opened: no steps, clean
//   history.Record(state, key);    // after each edit (key: merge, see below)
//   history.Amend(state);          // a rebuild refitted the export size: no step
//   if (const TDesignState* s = history.Undo()) state = *s;
//   history.MarkClean();           // saved: undoing back here is "unsaved: no"
//
// Merging: edits that come in a burst (a slider dragged, a word typed) are one step.
// A record with a merge key other than 0 joins the step still open with the same key;
// a step closes with Seal (the front end calls it when the user pauses), with any
// other record, undo, redo or save. A merged step that ends where it began (a slider
// dragged away and back) is no step at all.
//
// At most MaxSteps steps are kept; the oldest go first. With each state at a few
// kilobytes (32 characters with their fonts, the parameters), that is well under a
// megabyte.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <vector>

#include "export/ExportSize.h"
#include "scene/MessageText.h"
#include "scene/Params.h"

namespace qz {

// A part's drop shadow: whether it is on, and the altitude its slider shows (the one
// it gets back when the shadow is switched on again).
struct TShadow {
  bool On = true;
  int32_t Altitude = 0;
  bool operator==(const TShadow&) const = default;
};

// What a user's edit can change: the design, the size it is exported at and the
// shadows' settings. The textures are named in the parameters (TexFile) and loaded
// again from there.
struct TDesignState {
  TParams Params;
  TMessageText Text;
  TDimensions Dim;
  TShadow Shadows[2];  // the letters', the button's
};

// The same design: parameters, characters with their formats, the message's own
// format, the export size and the shadows (the caret and selection do not count).
bool SameDesign(const TDesignState& a, const TDesignState& b);

class TDesignHistory {
 public:
  static constexpr size_t MaxSteps = 100;

  // Forgets every step; state is the design now, and it is clean.
  void Reset(const TDesignState& state);
  // An edit made the design state. False when nothing changed (no step, none closed).
  bool Record(const TDesignState& state, int mergeKey = 0);
  // The design moved by itself after an edit (a rebuild fitted the export size or the
  // texture scales): the present state becomes state, with no step of its own.
  void Amend(const TDesignState& state);
  // Closes the open step: the next record starts a new one.
  void Seal() { openKey_ = 0; }

  // The state to show after one step back (or forward), or null when there is none.
  // The pointer stays valid until the history next changes.
  const TDesignState* Undo();
  const TDesignState* Redo();

  // The present state is the saved one (the step is closed).
  void MarkClean();
  // The present state is the saved (or loaded) one.
  bool IsClean() const { return clean_ == static_cast<long>(undo_.size()); }

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  size_t UndoSteps() const { return undo_.size(); }
  size_t RedoSteps() const { return redo_.size(); }
  const TDesignState& Present() const { return present_; }

  // Called whenever what can be undone or redone, or cleanness, may have changed.
  std::function<void()> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange();
  }

  std::deque<TDesignState> undo_;   // the states before each step, oldest first
  std::vector<TDesignState> redo_;  // the states of undone steps, the next to redo last
  TDesignState present_;
  int openKey_ = 0;                 // merge key of the open step (the last in undo_)
  // undo_.size() when the present state was saved; -1 when that state is gone (past
  // the bound, or redo steps dropped by a new edit).
  long clean_ = 0;
};

}  // namespace qz
