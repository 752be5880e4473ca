// A fresh folder under the build's test-output folder, removed when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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

}  // namespace qz::test
