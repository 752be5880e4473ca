#include "app/files/SafeFileDialog.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QStyle>

namespace qz {

namespace {

class TPlainIcons : public QAbstractFileIconProvider {
 public:
  QIcon icon(IconType type) const override {
    return QApplication::style()->standardIcon(type == Folder || type == Drive ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
  }
  QIcon icon(const QFileInfo& info) const override { return icon(info.isDir() ? Folder : File); }
  QString type(const QFileInfo& info) const override { return info.isDir() ? "Folder" : "File"; }
};

}  // namespace

void UsePlainIcons(QFileDialog& dialog) {
  auto* icons = new TPlainIcons;
  // Owned by the dialog: freed when it is.
  QObject::connect(&dialog, &QObject::destroyed, [icons] { delete icons; });
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setIconProvider(icons);
}

}  // namespace qz
