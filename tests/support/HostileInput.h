// The message a reader of outside data ends with, shared by the tests of every reader.
#pragma once

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

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

}  // namespace qz::test
