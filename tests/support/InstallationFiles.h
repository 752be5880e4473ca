// The installation's files of one folder, as the build copies them into the program
// folder. They are listed from the source tree: other tests put files of their own into
// the program folder for a while, and they may run at the same time.
#pragma once

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace qz::test {

const std::string ProgramDir = QZ_PROGRAM_DIR;

// The files with one of the extensions, sorted, as paths in the program folder.
inline std::vector<std::filesystem::path> InstallationFiles(const std::string& folder, const std::set<std::string>& extensions) {
  std::vector<std::filesystem::path> files;
  for (const auto& e : std::filesystem::directory_iterator(std::string(QZ_SOURCE_DIR) + "/data/" + folder))
    if (e.is_regular_file() && extensions.count(e.path().extension().string()))
      files.push_back(ProgramDir + folder + "/" + e.path().filename().string());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace qz::test
