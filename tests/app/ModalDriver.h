// Answers the modal dialogs a test opens. WhenModal<T>(action) polls for the next
// active modal widget of type T and runs action on it once (action must close it);
// the returned flag says whether it came. When none comes in time, any modal widget
// then open is rejected, so a test never waits on a dialog nobody answers.
#pragma once

#include <QtWidgets>
#include <functional>
#include <memory>
#include <vector>

namespace qz {

inline std::vector<QPointer<QTimer>>& ModalWatchers() {
  static std::vector<QPointer<QTimer>> watchers;
  return watchers;
}

// Ends the watchers still waiting (a test's cleanup), so none answers the next test's dialog.
inline void StopWatchingModals() {
  for (const QPointer<QTimer>& t : ModalWatchers())
    if (t) t->stop(), t->deleteLater();
  ModalWatchers().clear();
}

template <typename T>
std::shared_ptr<bool> WhenModal(std::function<void(T*)> action, int timeoutMs = 10000) {
  auto seen = std::make_shared<bool>(false);
  auto* timer = new QTimer;
  timer->setInterval(10);
  const QDeadlineTimer deadline(timeoutMs);
  QObject::connect(timer, &QTimer::timeout, [timer, seen, action, deadline, timeoutMs] {
    if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
      timer->stop(), timer->deleteLater();
      *seen = true;
      action(w);
      // An action that failed half-way (a QCOMPARE returns early) may leave its
      // dialog open: it is rejected later rather than left waiting.
      if (QPointer<QDialog> open = qobject_cast<QDialog*>(w))
        QTimer::singleShot(timeoutMs, [open] { if (open && open->isVisible()) open->reject(); });
    } else if (deadline.hasExpired()) {
      timer->stop(), timer->deleteLater();
      if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->reject();
    }
  });
  timer->start();
  ModalWatchers().emplace_back(timer);
  return seen;
}

// Answers a (Qt, not native) file dialog with a name typed, relative to its folder or absolute.
// The dialog reads its folder in a thread and then selects the file it proposed, and a
// selection wins over the typed name: it is cleared first, as typing into the name box
// does once the dialog has the focus (on a busy machine it may not have it yet).
inline void TypeIntoFileDialog(QFileDialog* dialog, const QString& name) {
  if (auto* list = dialog->findChild<QAbstractItemView*>("listView"); list && list->selectionModel())
    list->selectionModel()->clear();
  auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
  if (edit) edit->setText(name);
  static_cast<QDialog*>(dialog)->accept();
}

}  // namespace qz
