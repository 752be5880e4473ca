#include "support/ChildRun.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>

namespace qz::test {

namespace {

// The peak resident memory of this process so far, in bytes (VmHWM).
int64_t PeakResident() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stoll(line.substr(6)) * 1024;
  return -1;
}

// Lowers the peak to what is resident now (Linux 4.0 on), so the growth measured is
// the call's alone. A child's peak starts from its own resident memory anyway.
void ResetPeak() {
  if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", f);
    std::fclose(f);
  }
}

void WriteAll(int fd, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, p, size);
    if (n <= 0) return;
    p += n;
    size -= static_cast<size_t>(n);
  }
}

}  // namespace

TChildRun RunInChild(const std::function<void()>& call) {
  TChildRun run;
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return run;
  std::fflush(nullptr);  // nothing buffered is written twice
  const pid_t pid = ::fork();
  if (pid < 0) return run;
  if (pid == 0) {
    ::close(pipeFds[0]);
    ResetPeak();
    const int64_t before = PeakResident();
    std::string error;
    try {
      call();
    } catch (const std::exception& e) {
      error = e.what();
      if (error.empty()) error = "an exception without a message";
    }
    const int64_t growth = PeakResident() - before;
    WriteAll(pipeFds[1], &growth, sizeof growth);
    WriteAll(pipeFds[1], error.data(), error.size());
    ::_exit(0);  // no destructors, no test framework teardown in the child
  }
  ::close(pipeFds[1]);
  std::string report;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
    if (n <= 0) break;
    report.append(buffer, static_cast<size_t>(n));
  }
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  run.Finished = WIFEXITED(status) && WEXITSTATUS(status) == 0 && report.size() >= sizeof(int64_t);
  if (report.size() >= sizeof(int64_t)) {
    std::memcpy(&run.PeakGrowth, report.data(), sizeof(int64_t));
    run.Error = report.substr(sizeof(int64_t));
  }
  return run;
}

}  // namespace qz::test
