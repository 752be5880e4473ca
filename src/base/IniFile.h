// TIniFile: INI text with the semantics that works, templates and Buttons.dat rely on.
//
//   TIniFile ini("/path/work.qznr");          // reads the file if it exists
//   std::string v = ini.ReadString("Message", "TexFile", "");
//   ini.WriteString("Button", "Type", "2");
//   ini.Flush();                              // atomic rewrite; throws on failure
//
// - Section and key names compare without regard to case (ASCII).
// - A written key replaces its old line in place; a new key goes after the last line
//   of its section; a new section goes at the end of the file.
// - Values read lose leading and trailing blanks and are cut at 2047 characters.
// - CRLF, LF and a lone CR all end a line when read; CRLF is written. Bytes are kept
//   as they are (8-bit).
// - Writes change memory only; Flush replaces the file atomically (temporary file in
//   the same folder, then rename), so a failed save leaves the old file whole.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qz {

class TIniFile {
 public:
  static constexpr size_t MaxValueLength = 2047;
  // A file larger than this is not read (it reads as empty, with an error noted).
  static constexpr size_t MaxFileBytes = 64u << 20;

  // An empty path makes an INI held only in memory (Flush then does nothing).
  explicit TIniFile(std::string path = {});

  const std::string& Path() const { return path_; }
  // Why the file could not be read (too large, unreadable), or empty. A missing
  // file is not an error: it reads as empty.
  const std::string& ReadError() const { return readError_; }
  // The reason alone ("it is a folder"; "the file does not exist" for a missing file).
  const std::string& ReadFailure() const { return readFailure_; }

  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  bool HasKey(const std::string& section, const std::string& key) const;
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  // Removes a section with all its lines.
  void EraseSection(const std::string& section);
  // Removes every line of a key from its section (from every section of that name,
  // so no copy of it is read later); nothing when there is none.
  void EraseKey(const std::string& section, const std::string& key);
  bool HasSection(const std::string& section) const;

  // Every key line in file order as (section, key, value), each value exactly as it
  // stands after the '=' (blanks kept).
  std::vector<std::pair<std::string, std::pair<std::string, std::string>>> Entries() const;

  // Writes the whole text to the file atomically when anything changed since the
  // last read or flush. Throws std::runtime_error naming the path on failure.
  void Flush();
  // The file's text as it would be written.
  std::string Text() const;

 private:
  struct TLine {
    std::string text;     // the whole line as it stands (without its line end)
    std::string key;      // for key lines: the key, trimmed; empty otherwise
    bool isKey = false;
  };
  struct TSection {
    std::string name;     // trimmed; empty for lines before the first header
    std::string header;   // the header line as it stands
    std::vector<TLine> lines;
    std::unordered_map<std::string, size_t> keyIndex;  // lower-case key -> first line
  };

  void Parse(const std::string& text);
  TSection* Find(const std::string& section);
  const TSection* Find(const std::string& section) const;
  const TLine* FindKey(const std::string& section, const std::string& key) const;
  void Reindex();

  std::string path_;
  std::string readError_;
  std::vector<TSection> sections_;
  std::unordered_map<std::string, size_t> sectionIndex_;  // lower-case name -> first section
  bool dirty_ = false;
  std::string readFailure_;
};

}  // namespace qz
