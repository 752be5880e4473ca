#include "app/window/EditHistory.h"

#include <QAction>
#include <QKeyEvent>
#include <QWidget>

#include "session/DesignSession.h"

namespace qz {

namespace {

bool IsUndoKey(const QKeyEvent* e) { return e->matches(QKeySequence::Undo); }
bool IsRedoKey(const QKeyEvent* e) {
  return e->matches(QKeySequence::Redo) || e->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y) ||
         e->keyCombination() == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z);
}

}  // namespace

TEditHistory::TEditHistory(TDesignSession& session, QObject* parent)
    : QObject(parent), session_(session) {
  UndoAction = new QAction("&Undo", this);
  UndoAction->setShortcut(QKeySequence::Undo);
  RedoAction = new QAction("&Redo", this);
  RedoAction->setShortcuts({QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")});
  ShowState();
}

void TEditHistory::Tick(int pauseTicks) {
  if (quietTicks_ <= pauseTicks && ++quietTicks_ > pauseTicks) session_.SealEdits();
}

void TEditHistory::TakeUndoKeys(QWidget* w) { w->installEventFilter(this); }

bool TEditHistory::eventFilter(QObject* watched, QEvent* e) {
  // The box would take the keys for its own undo (ShortcutOverride): they are taken
  // here instead, and do what the Edit menu does.
  if (e->type() == QEvent::ShortcutOverride || e->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(e);
    QAction* action = IsUndoKey(key) ? UndoAction : IsRedoKey(key) ? RedoAction : nullptr;
    if (action) {
      e->accept();
      if (e->type() == QEvent::KeyPress && action->isEnabled()) action->trigger();
      return true;
    }
  }
  return QObject::eventFilter(watched, e);
}

void TEditHistory::ShowState() {
  UndoAction->setEnabled(session_.CanUndo());
  RedoAction->setEnabled(session_.CanRedo());
}

}  // namespace qz
