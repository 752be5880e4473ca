// SideBySide: two independent pieces of work on two cores, with the results of one
// after the other. Used where a picture's work divides into parts that write
// different memory (the button's pass and the letters' spans, the bodies of two halves
// of a message).
//
//   SideBySide(large, [&] { first half; }, [&] { second half; });
#pragma once

#include <exception>
#include <system_error>
#include <thread>

namespace qz {

// The machine has a second core to run on.
inline bool TwoCores() { return std::thread::hardware_concurrency() > 1; }

// With wanted, runs first on a thread of its own and second on the calling one, then
// waits for both; an exception of either comes out here, after both have ended.
// Otherwise (or without a second core, or when no thread can be started) first runs
// before second.
template <typename TFirst, typename TSecond>
void SideBySide(bool wanted, TFirst&& first, TSecond&& second) {
  std::thread helper;
  std::exception_ptr failure;
  if (wanted && TwoCores()) {
    try {
      helper = std::thread([&] {
        try {
          first();
        } catch (...) {
          failure = std::current_exception();
        }
      });
    } catch (const std::system_error&) {
    }
  }
  if (!helper.joinable()) {
    first();
    second();
    return;
  }
  try {
    second();
  } catch (...) {
    helper.join();
    throw;
  }
  helper.join();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace qz
