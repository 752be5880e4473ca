// How the core reports to whoever drives it. The designer shows messages in a modal
// box and stage texts in its status bar; the command-line tool prints messages to
// standard error; tests collect both.
#pragma once

#include <string>

namespace qz {

// The modal message boxes of the designer ("ERROR: Cannot get Glyph",
// "Invalid file version: 1.3.4", ...).
class IMessageSink {
 public:
  virtual ~IMessageSink() = default;
  virtual void ShowMessage(const std::string& text) = 0;
};

// Progress of a build or render: the status text of the last status-bar panel, the
// progress bar (0..100), and a chance to let pending window messages run so the
// status bar repaints.
class IProgressSink {
 public:
  virtual ~IProgressSink() = default;
  virtual void SetStatus(const std::string& text) = 0;
  virtual void SetProgress(int value) = 0;
  virtual void ProcessMessages() {}
};

// Sinks that drop everything: the default of a scene nobody watches.
class TNullMessageSink : public IMessageSink {
 public:
  void ShowMessage(const std::string&) override {}
};
class TNullProgressSink : public IProgressSink {
 public:
  void SetStatus(const std::string&) override {}
  void SetProgress(int) override {}
};

}  // namespace qz
