#include "session/DesignHistory.h"

#include <utility>

namespace qz {

bool SameDesign(const TDesignState& a, const TDesignState& b) {
  return a.Params == b.Params && a.Text.Chars() == b.Text.Chars() &&
         a.Text.DefaultFormat() == b.Text.DefaultFormat() && a.Dim == b.Dim && a.Shadows[0] == b.Shadows[0] &&
         a.Shadows[1] == b.Shadows[1];
}

void TDesignHistory::Reset(const TDesignState& state) {
  undo_.clear();
  redo_.clear();
  present_ = state;
  openKey_ = 0;
  clean_ = 0;
  Changed();
}

bool TDesignHistory::Record(const TDesignState& state, int mergeKey) {
  if (SameDesign(state, present_)) return false;
  if (mergeKey != 0 && mergeKey == openKey_ && !undo_.empty()) {
    present_ = state;
    if (SameDesign(state, undo_.back())) {  // back where the step began
      undo_.pop_back();
      openKey_ = 0;
    }
    Changed();
    return true;
  }
  // The saved state among the undone steps is lost with them.
  if (clean_ > static_cast<long>(undo_.size())) clean_ = -1;
  redo_.clear();
  undo_.push_back(std::move(present_));
  present_ = state;
  openKey_ = mergeKey;
  if (undo_.size() > MaxSteps) {
    undo_.pop_front();
    clean_ = clean_ > 0 ? clean_ - 1 : -1;
  }
  Changed();
  return true;
}

void TDesignHistory::Amend(const TDesignState& state) { present_ = state; }

const TDesignState* TDesignHistory::Undo() {
  Seal();
  if (undo_.empty()) return nullptr;
  redo_.push_back(std::move(present_));
  present_ = std::move(undo_.back());
  undo_.pop_back();
  Changed();
  return &present_;
}

const TDesignState* TDesignHistory::Redo() {
  Seal();
  if (redo_.empty()) return nullptr;
  undo_.push_back(std::move(present_));
  present_ = std::move(redo_.back());
  redo_.pop_back();
  Changed();
  return &present_;
}

void TDesignHistory::MarkClean() {
  Seal();
  clean_ = static_cast<long>(undo_.size());
  Changed();
}

}  // namespace qz
