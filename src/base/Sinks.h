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
  // A remark that stops nothing and asks for no answer (a letter drawn from another
  // font): the designer shows it in its status bar, the command-line tool on standard
  // error. Unless a sink says otherwise, it is shown as a message.
  virtual void ShowNotice(const std::string& text) { ShowMessage(text); }
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

// Where the progress bar stands after each step of a rebuild: the build takes it
// to 30, the render on to 75, the preview to 100. A render alone starts at 0 too.
enum TProgressStage : int {
  ProgressStart = 0,
  ProgressLettersCleared = 2,
  ProgressNormalizing = 15,
  ProgressTransforming = 17,
  ProgressLettersMade = 20,
  ProgressButtonMade = 23,
  ProgressBuilt = 30,
  ProgressRendering = 35,
  ProgressRendered = 75,
  ProgressStretching = 80,
  ProgressDisplaying = 95,
  ProgressDone = 100,
};

// Sinks that drop everything: the default of a session nobody watches.
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
