#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>

namespace qz::test {

TTempDir::TTempDir() {
  static std::atomic<int> counter{0};
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "tmp";
  path_ = std::string(QZ_TEST_OUTPUT_DIR) + "/tmp/" + name + "-" + std::to_string(::getpid()) + "-" +
          std::to_string(counter++) + "/";
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TTempDir::~TTempDir() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

}  // namespace qz::test
