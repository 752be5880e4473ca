// Writing output files all or nothing. Each file is written to a temporary file of an
// unpredictable name, created exclusively beside its target; only when every file of
// the group has been written whole are they renamed over their targets. A failure
// leaves every target as it was and no temporary file behind.
//
//   TFileGroup files;
//   files.Write("out/home.gif", [&](std::FILE* f) { return fwrite(...) == size; });
//   files.Write("out/home.html", ...);
//   files.Commit();                  // both appear, or (on a throw before) neither
//
// A target that is a symbolic link keeps its link: the file it names is replaced. A
// file replaced keeps its permissions (and, where the writer may set it, its owner);
// a new file gets the usual permissions of the user's file mask.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace qz {

using TWriteFn = std::function<bool(std::FILE*)>;

class TFileGroup {
 public:
  TFileGroup() = default;
  TFileGroup(const TFileGroup&) = delete;
  TFileGroup& operator=(const TFileGroup&) = delete;
  // Removes the temporary files of a group that was not committed.
  ~TFileGroup();

  // Writes a temporary file for path through write, which returns false on failure.
  // Throws std::runtime_error naming path when path cannot be written: a folder, a
  // device or pipe, a read-only file, a folder that does not exist or refuses the
  // file, a failed write.
  void Write(const std::string& path, const TWriteFn& write);
  // The size of what was written for path (0 when nothing was).
  uint64_t WrittenBytes(const std::string& path) const;
  // Renames every file written over its target, in the order written. Throws naming
  // the target when a rename fails (a rare fault of the file system: the files renamed
  // before it are complete and stay).
  void Commit();

 private:
  struct TStaged {
    std::string target;  // the file that is replaced (a link's target)
    std::string path;    // as the caller named it
    std::string temp;
    uint64_t bytes = 0;
  };
  std::vector<TStaged> staged_;
};

// A group of one file: written to a temporary file, then renamed over path.
void WriteFileAtomically(const std::string& path, const TWriteFn& write);

// Writes into the group when one is given, else as a file of its own.
void WriteOutput(TFileGroup* files, const std::string& path, const TWriteFn& write);
// The same for bytes held in memory.
void WriteOutputBytes(TFileGroup* files, const std::string& path, const void* data, size_t size);

}  // namespace qz
