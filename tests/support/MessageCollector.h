// A message sink that keeps the texts the designer would show in message boxes.
#pragma once

#include <string>
#include <vector>

#include "platform/Sinks.h"

namespace qz::test {

class TMessageCollector : public IMessageSink {
 public:
  void ShowMessage(const std::string& text) override { Texts.push_back(text); }
  std::vector<std::string> Texts;
};

}  // namespace qz::test
