#include "app/dialogs/DialogMessages.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace qz {

void ShowDialogMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok, parent);
  box.exec();
}

bool AskReplaceFile(QWidget* parent, const QString& path) {
  QMessageBox box(QMessageBox::Warning, QApplication::applicationName(),
                  QStringLiteral("%1 already exists.\nDo you want to replace it?")
                      .arg(QFileInfo(path).fileName()),
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace qz
