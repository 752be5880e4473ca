#include "app/bridge/GuiSinks.h"

#include <malloc.h>

#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>

namespace qz {

void TMessageBoxSink::ShowMessage(const std::string& text) {
  QMessageBox::information(parent_, QCoreApplication::applicationName(), QString::fromStdString(text));
}

void TWindowMessages::ShowNotice(const std::string& text) {
  if (!notices_) return;
  const QString notice = " " + QString::fromStdString(text);
  notices_->setText(notice);
  notices_->setToolTip(notice);
}

void TStatusProgressSink::SetStatus(const std::string& text) {
  if (status_) status_->setText(QString::fromStdString(text));
}

void TStatusProgressSink::SetProgress(int value) {
  if (bar_) bar_->setValue(value);
}

void TStatusProgressSink::ProcessMessages() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

long long AllocatedKilobytes() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<long long>((info.uordblks + info.hblkhd) / 1024);
}

}  // namespace qz
