// TEditHistory: the main window's side of undo and redo. The history itself is the
// design session's (session/DesignSession.h), which also knows which edits come in
// bursts; this holds the Edit menu's "&Undo" and "&Redo" (Ctrl+Z; Ctrl+Shift+Z and
// Ctrl+Y), greyed while there is nothing to undo or redo, and closes a burst of edits
// once the user pauses as long as deferred work waits (RDelay ticks).
//
//   history = new TEditHistory(*Session, this);
//   connect(history->UndoAction, &QAction::triggered, this, &TMainWindow::UndoClick);
//   history->Edited();              // after each edit that changed the design
//   history->Tick(RDelayTicks());   // on every timer tick
#pragma once

#include <QObject>

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

  // An edit changed the design: the pause that closes its burst starts again.
  void Edited() { quietTicks_ = 0; }
  // One timer tick: the burst being recorded closes after pauseTicks quiet ticks.
  void Tick(int pauseTicks);
  // The undo and redo keys pressed in w (a text box with an undo of its own) undo
  // and redo the design instead.
  void TakeUndoKeys(QWidget* w);
  // The actions greyed or not as the session's history stands.
  void ShowState();

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  TDesignSession& session_;
  int quietTicks_ = 0;
};

}  // namespace qz
