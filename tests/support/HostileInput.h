// Checks shared by the tests of every reader of outside data: the message a reader
// ends with, and that cut or randomly damaged files give a picture or a message, never
// a crash or a read past their end (the sanitizer build sees those).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace qz::test {

// The message a call ends with, or "" when it returns.
template <class F>
std::string ErrorOf(F&& call) {
  try {
    call();
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

// decode(bytes) returns a picture or throws std::runtime_error. Every cut of `valid`
// shorter than cutsBelow bytes is refused with a message that names the file; `rounds`
// damages of three bytes at or after `from` give a picture or a message.
template <class F>
void ExpectHostileBytesHandled(const std::vector<uint8_t>& valid, F decode, const std::string& name,
                               size_t cutsBelow, size_t from, int rounds) {
  for (size_t n = 0; n < cutsBelow; ++n) {
    const std::string error = ErrorOf([&] { decode(std::vector<uint8_t>(valid.begin(), valid.begin() + n)); });
    ASSERT_NE(error.find(name), std::string::npos) << "cut at " << n << ": " << error;
  }
  std::mt19937 rng(static_cast<unsigned>(valid.size()));
  for (int i = 0; i < rounds; ++i) {
    std::vector<uint8_t> bytes = valid;
    for (int k = 0; k < 3; ++k) bytes[from + rng() % (bytes.size() - from)] = static_cast<uint8_t>(rng());
    try {
      EXPECT_FALSE(decode(bytes).Empty());
    } catch (const std::runtime_error&) {
    }
  }
}

}  // namespace qz::test
