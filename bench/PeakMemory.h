// The peak resident size of the benchmark's process while one benchmark runs: the
// kernel's high-water mark (VmHWM) is reset just before the timed loop and read after
// it, so a counter shows what the measured work itself brings in at most.
//
//   const bench::TPeakResident peak;     // resets the mark, notes the size now
//   for (auto _ : state) { ... }
//   peak.Report(state);                  // rss_before_MB, peak_rss_MB
#pragma once

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace qz::bench {

// A line "Name:   1234 kB" of /proc/self/status, in megabytes (0 when missing).
inline double StatusMegabytes(const std::string& name) {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word)
    if (word == name + ":") {
      double kb = 0;
      status >> kb;
      return kb / 1024.0;
    }
  return 0;
}

class TPeakResident {
 public:
  TPeakResident() {
    std::ofstream("/proc/self/clear_refs") << "5";  // resets VmHWM to the present size
    before_ = StatusMegabytes("VmRSS");
  }
  void Report(benchmark::State& state) const {
    state.counters["rss_before_MB"] = before_;
    state.counters["peak_rss_MB"] = StatusMegabytes("VmHWM");
  }

 private:
  double before_ = 0;
};

}  // namespace qz::bench
