#include "app/files/FileDrops.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace qz {

namespace {

// The first local file a drag carries, or empty.
QString FirstLocalFile(const QMimeData* data) {
  if (!data || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) return url.toLocalFile();
  return {};
}

}  // namespace

TFileDrops::TFileDrops(QWidget* window, QWidget* preview) : QObject(window), window_(window), preview_(preview) {
  window->setAcceptDrops(true);
  preview->setAcceptDrops(true);
  QCoreApplication::instance()->installEventFilter(this);
}

bool TFileDrops::IsDesignFile(const QString& path) {
  return path.endsWith(".qznr", Qt::CaseInsensitive) || path.endsWith(".qzpl", Qt::CaseInsensitive);
}

bool TFileDrops::eventFilter(QObject* watched, QEvent* e) {
  const QEvent::Type type = e->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
    return QObject::eventFilter(watched, e);
  auto* target = qobject_cast<QWidget*>(watched);
  auto* drop = static_cast<QDropEvent*>(e);
  const QString file = FirstLocalFile(drop->mimeData());
  if (!target || target->window() != window_ || file.isEmpty()) return QObject::eventFilter(watched, e);
  const bool design = IsDesignFile(file);
  if (!design && target != preview_ && !preview_->isAncestorOf(target)) {
    drop->ignore();  // a picture is a texture only where the button is shown
    return true;
  }
  drop->setDropAction(Qt::CopyAction);
  drop->accept();
  if (type == QEvent::Drop) {
    const bool text = drop->modifiers().testFlag(Qt::ShiftModifier);
    QMetaObject::invokeMethod(
        this, [this, file, design, text] { design ? emit WorkDropped(file) : emit TextureDropped(file, text); },
        Qt::QueuedConnection);
  }
  return true;
}

}  // namespace qz
