// Where the core's messages and progress go in the designer: messages in a modal
// box, notices into the status bar's notice panel, stage texts into its progress
// panel, values into the thin progress bar. Letting events run repaints those, but handles no user input, so nothing the
// user does can start a second build or change the message while one runs.
#pragma once

#include <QPointer>
#include <QLabel>
#include <QProgressBar>
#include <QString>

#include "platform/Sinks.h"

class QWidget;

namespace qz {

class TMessageBoxSink : public IMessageSink {
 public:
  // Without a notice panel, notices are shown in the box too.
  explicit TMessageBoxSink(QWidget* parent, QLabel* notices = nullptr) : parent_(parent), notices_(notices) {}
  void ShowMessage(const std::string& text) override;
  void ShowNotice(const std::string& text) override;

 private:
  QPointer<QWidget> parent_;
  QPointer<QLabel> notices_;
};

class TStatusProgressSink : public IProgressSink {
 public:
  TStatusProgressSink(QLabel* status, QProgressBar* bar) : status_(status), bar_(bar) {}
  void SetStatus(const std::string& text) override;
  void SetProgress(int value) override;
  void ProcessMessages() override;

 private:
  QPointer<QLabel> status_;
  QPointer<QProgressBar> bar_;
};

// The memory figure of the status bar: the bytes the C library's allocator has handed
// out and not taken back (mallinfo2: heap in use plus mapped blocks), in kilobytes.
long long AllocatedKilobytes();

}  // namespace qz
