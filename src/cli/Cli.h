// quenzar-cli's commands. Each returns the process exit status:
// 0 done (warnings on standard error), 1 the work could not be done and nothing was
// written, 2 usage error.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace qz::cli {

constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

// Parsed command line: the command, its positional arguments and its options
// (an option without a value maps to "").
struct TArgs {
  std::string command;
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;
  bool Has(const std::string& o) const { return options.count(o) != 0; }
};

// A bad argument: the message is printed with the usage, exit status 2.
struct TUsageError {
  std::string message;
};

int Info(const TArgs& args);
int Export(const TArgs& args);
int Render(const TArgs& args);
int Save(const TArgs& args);
int Fonts(const TArgs& args);

}  // namespace qz::cli
