// Where the core's messages and progress go in the designer: messages in a modal
// box, notices into the status bar's notice panel, stage texts into its progress
// panel, values into the thin progress bar. Letting events run repaints those, but
// handles no user input, so nothing the user does can start a second build or change
// the message while one runs.
#pragma once

#include <QPointer>
#include <QLabel>
#include <QProgressBar>
#include <QString>

#include "base/Sinks.h"

class QWidget;

namespace qz {

class TMessageBoxSink : public IMessageSink {
 public:
  explicit TMessageBoxSink(QWidget* parent) : parent_(parent) {}
  void ShowMessage(const std::string& text) override;

 private:
  QPointer<QWidget> parent_;
};

// What the design session tells the main window: messages to the sink in force (the
// boxes, or a test's), notices into the status bar's notice panel.
class TWindowMessages : public IMessageSink {
 public:
  TWindowMessages(IMessageSink* messages, QLabel* notices) : Messages(messages), notices_(notices) {}
  void ShowMessage(const std::string& text) override { Messages->ShowMessage(text); }
  void ShowNotice(const std::string& text) override;
  IMessageSink* Messages;

 private:
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
