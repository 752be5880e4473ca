// Running a call in a child process, to see what it costs without paying for it here:
// how far the child's resident memory grew while the call ran, and what it threw. A
// reader fed a hostile file is run so, to show it refuses the file before allocating
// what the file claims (a test process that allocated gigabytes would hide nothing
// and harm the machine's other tests).
//
//   const test::TChildRun run = test::RunInChild([&] { DecodePng(hostile, "t.png"); });
//   EXPECT_TRUE(run.Finished);
//   EXPECT_LT(run.PeakGrowth, 16 << 20);
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qz::test {

struct TChildRun {
  bool Finished = false;   // the child ran the call to its end (it did not crash)
  std::string Error;       // what the call threw (std::exception::what), "" when it returned
  int64_t PeakGrowth = 0;  // bytes the child's peak resident memory grew by during the call
};

TChildRun RunInChild(const std::function<void()>& call);

}  // namespace qz::test
