// TRecentFiles: the works and templates a user opened or saved last, newest first,
// for the designer's File -> Open Recent. Kept in Buttons.dat in a section of their
// own, one key a file:
//
//   [Recent Works]
//   File1=/home/ann/.local/share/quenzar/Works/shop.qznr
//   File2=/home/ann/.local/share/quenzar/Templates/sale.qzpl
//
//   recent.Read(ini);      // at start (TSettings::Read)
//   recent.Add(path);      // after an open or a save: to the top, once
//   recent.Write(ini);     // at exit (TSettings::Write)
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qz {

class TIniFile;

class TRecentFiles {
 public:
  static constexpr size_t MaxFiles = 10;
  static constexpr const char* Section = "Recent Works";

  const std::vector<std::string>& Files() const { return files_; }

  // path to the top of the list; an entry for the same path leaves its place, and the
  // list keeps its newest MaxFiles. An empty path is not a file: nothing changes.
  void Add(const std::string& path);
  // Takes path off the list; false when it was not on it.
  bool Remove(const std::string& path);

  // File1 to File10 of the section, in order; empty values and repeats are left out.
  void Read(const TIniFile& ini);
  // The section anew: exactly the list, File1 first.
  void Write(TIniFile& ini) const;

 private:
  std::vector<std::string> files_;
};

}  // namespace qz
