// TFileDrops: files dragged onto the main window from a file manager. A work or
// template (.qznr, .qzpl) dropped anywhere on the window is opened; any other file
// dropped on the preview is offered as the button's texture, or with Shift held as
// the letters' texture (the texture loader says why a file is no picture). Elsewhere
// other files are refused while they are dragged. Only the first file of a drop
// counts; drags that carry no local file are left to the widget under them, and so
// are drags onto other windows.
//
// The text boxes of the window take drops of their own (a file manager's drag carries
// the path as text too): the drops are watched for the whole application, so a work
// dropped on a text box opens as well, rather than its path being typed in.
//
// The drop is answered at once and its work done once the drag has ended (the
// signals are queued): opening a work may ask about unsaved changes, and a file
// manager should not wait on that question.
//
//   auto* drops = new TFileDrops(window, preview);
//   connect(drops, &TFileDrops::WorkDropped, window, &TMainWindow::OpenDesignFile);
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace qz {

class TFileDrops : public QObject {
  Q_OBJECT
 public:
  TFileDrops(QWidget* window, QWidget* preview);

  // Whether a path names a work or template by its extension (any case).
  static bool IsDesignFile(const QString& path);

 signals:
  void WorkDropped(const QString& path);
  void TextureDropped(const QString& path, bool text);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  QWidget* window_;
  QWidget* preview_;
};

}  // namespace qz
