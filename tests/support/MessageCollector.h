// Sinks that keep what the core reports: the texts the designer would show in message
// boxes, and the progress of a build or render.
#pragma once

#include <string>
#include <vector>

#include "base/Sinks.h"

namespace qz::test {

class TMessageCollector : public IMessageSink {
 public:
  void ShowMessage(const std::string& text) override { Texts.push_back(text); }
  std::vector<std::string> Texts;
};

// Stage texts, progress values (as text) and "*" for each chance given to pending
// messages, in the order they came.
class TProgressLog : public IProgressSink {
 public:
  void SetStatus(const std::string& text) override { Events.push_back(text); }
  void SetProgress(int value) override { Events.push_back(std::to_string(value)); }
  void ProcessMessages() override { Events.push_back("*"); }
  std::vector<std::string> Events;
};

}  // namespace qz::test
