// TEditHistory: the main window's side of undo and redo. The history itself is the
// session's (session/DesignHistory.h); this holds the Edit menu's "&Undo" and "&Redo"
// (Ctrl+Z; Ctrl+Shift+Z and Ctrl+Y), greyed while there is nothing to undo or redo,
// records each edit with the merge key its control asks for, and closes a burst of
// edits once the user pauses as long as deferred work waits (RDelay ticks).
//
//   history = new TEditHistory(*Session, this);
//   connect(history->UndoAction, &QAction::triggered, this, &TMainWindow::UndoClick);
//   history->Record(TControl::TextExtrusion);   // after the handler wrote its field
//   history->Tick(RDelayTicks());                // on every timer tick
#pragma once

#include <QObject>

#include "app/window/ControlTable.h"

class QAction;
class QWidget;

namespace qz {

class TDesignSession;

class TEditHistory : public QObject {
  Q_OBJECT
 public:
  TEditHistory(TDesignSession& session, QObject* parent);

  QAction* UndoAction;
  QAction* RedoAction;

  // The merge key of a control's edits: sliders, spinners, the message edit and the
  // Dimensions tab's sides come in bursts (the rulers and boxes of one side share a
  // key); buttons, check boxes and dialogs make a step each (0).
  static int MergeKey(TControl id);
  // The design as it stands after an edit of control id.
  void Record(TControl id);
  // One timer tick: the burst being recorded closes after pauseTicks quiet ticks.
  void Tick(int pauseTicks);
  // The undo and redo keys pressed in w (a text box with an undo of its own) undo
  // and redo the design instead.
  void TakeUndoKeys(QWidget* w);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void ShowState();

  TDesignSession& session_;
  int quietTicks_ = 0;
};

}  // namespace qz
