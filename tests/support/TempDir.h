// Files of the tests: a fresh folder under the build's test-output folder, removed
// when the test ends; whole-file reads and writes; where pictures to look at go.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace qz::test {

class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  // The folder with a trailing "/".
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  WriteText(path, std::string(bytes.begin(), bytes.end()));
}

// The names of the entries of a folder.
inline std::set<std::string> FileNames(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.insert(e.path().filename().string());
  return names;
}

// A path in the build's test-output folder (its folders made), for pictures to look at.
inline std::string OutputPath(const std::string& name) {
  const std::filesystem::path path = std::filesystem::path(QZ_TEST_OUTPUT_DIR) / name;
  std::filesystem::create_directories(path.parent_path());
  return path.string();
}

}  // namespace qz::test
