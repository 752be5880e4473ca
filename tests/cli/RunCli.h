// Runs quenzar-cli as a user would and collects its exit status and output.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qz::test {

struct TCliResult {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs the executable cli (a copy of quenzar-cli, say) in the working folder cwd
// (empty: the test's own), after `prefix` (environment settings, a time limit).
inline TCliResult RunCliAt(const std::string& cli, const std::vector<std::string>& args, const std::string& cwd = "",
                           const std::string& prefix = "") {
  static int counter = 0;
  const std::string errFile = std::string(QZ_TEST_OUTPUT_DIR) + "/cli-stderr-" + std::to_string(::getpid()) + "-" +
                              std::to_string(counter++);
  std::string cmd = cwd.empty() ? std::string() : "cd " + ShellQuote(cwd) + " && ";
  cmd += prefix + " " + ShellQuote(cli);
  for (const std::string& a : args) cmd += " " + ShellQuote(a);
  cmd += " 2>" + ShellQuote(errFile);
  TCliResult r;
  std::FILE* p = ::popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  int raw = ::pclose(p);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  std::ifstream in(errFile);
  std::stringstream ss;
  ss << in.rdbuf();
  r.err = ss.str();
  std::remove(errFile.c_str());
  return r;
}

inline TCliResult RunCli(const std::vector<std::string>& args) { return RunCliAt(QZ_CLI, args); }

}  // namespace qz::test
