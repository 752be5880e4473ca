#include "base/IniFile.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "base/FileUtil.h"
#include "base/OutputFiles.h"

namespace qz {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::string Lower(const std::string& s) {
  std::string r = s;
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

// A line end inside a value would split the key in two on the next read.
std::string OneLine(const std::string& s) {
  std::string r = s;
  for (char& c : r)
    if (c == '\r' || c == '\n') c = ' ';
  return r;
}

}  // namespace

TIniFile::TIniFile(std::string path) : path_(std::move(path)) {
  sections_.push_back(TSection{});  // lines before the first header
  if (path_.empty()) return;
  auto data = ReadWholeFile(path_, MaxFileBytes, &readFailure_);
  if (!data) {
    // A file that is not there reads as empty (it is made on the first flush).
    if (readFailure_.rfind("it is larger", 0) == 0) readFailure_ = "it is larger than 64 MB";
    if (readFailure_ != MissingFile) readError_ = "Cannot read file " + path_ + ": " + readFailure_;
    return;
  }
  Parse(std::string(data->begin(), data->end()));
}

void TIniFile::Parse(const std::string& text) {
  // A line ends at CRLF, LF or a CR alone. A lone CR taken into a value could not be
  // written back (a written line cannot hold a line end), so a save would change a
  // value it did not mean to touch.
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);

    std::string trimmed = Trim(line);
    if (!trimmed.empty() && trimmed[0] == '[') {
      size_t close = trimmed.find(']');
      TSection s;
      s.name = Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
      s.header = line;
      sections_.push_back(std::move(s));
      continue;
    }
    TLine l;
    l.text = line;
    size_t eq = line.find('=');
    if (eq != std::string::npos && !trimmed.empty() && trimmed[0] != ';') {
      l.key = Trim(line.substr(0, eq));
      l.isKey = !l.key.empty();
    }
    sections_.back().lines.push_back(std::move(l));
  }
  Reindex();
}

void TIniFile::Reindex() {
  sectionIndex_.clear();
  for (size_t i = 1; i < sections_.size(); ++i) {
    TSection& s = sections_[i];
    sectionIndex_.try_emplace(Lower(s.name), i);
    s.keyIndex.clear();
    for (size_t j = 0; j < s.lines.size(); ++j)
      if (s.lines[j].isKey) s.keyIndex.try_emplace(Lower(s.lines[j].key), j);
  }
}

TIniFile::TSection* TIniFile::Find(const std::string& section) {
  auto it = sectionIndex_.find(Lower(Trim(section)));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const TIniFile::TSection* TIniFile::Find(const std::string& section) const {
  auto it = sectionIndex_.find(Lower(Trim(section)));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const TIniFile::TLine* TIniFile::FindKey(const std::string& section, const std::string& key) const {
  const TSection* s = Find(section);
  if (!s) return nullptr;
  auto it = s->keyIndex.find(Lower(Trim(key)));
  return it == s->keyIndex.end() ? nullptr : &s->lines[it->second];
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  const TLine* l = FindKey(section, key);
  if (!l) return def;
  std::string value = Trim(l->text.substr(l->text.find('=') + 1));
  if (value.size() > MaxValueLength) value.resize(MaxValueLength);
  return value;
}

bool TIniFile::HasKey(const std::string& section, const std::string& key) const { return FindKey(section, key) != nullptr; }

bool TIniFile::HasSection(const std::string& section) const { return Find(section) != nullptr; }

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  const std::string name = Trim(OneLine(section));
  const std::string k = Trim(OneLine(key));
  const std::string line = k + "=" + OneLine(value);
  dirty_ = true;
  TSection* s = Find(name);
  if (!s) {
    TSection fresh;
    fresh.name = name;
    fresh.header = "[" + name + "]";
    sectionIndex_.emplace(Lower(name), sections_.size());
    sections_.push_back(std::move(fresh));
    s = &sections_.back();
  }
  auto it = s->keyIndex.find(Lower(k));
  if (it != s->keyIndex.end()) {
    TLine& old = s->lines[it->second];
    old.text = old.key + "=" + OneLine(value);  // replaced in place, its key as spelled

    return;
  }
  // A new key goes after the last non-blank line of its section, so the blank line
  // that separates it from the next section stays where it is.
  size_t at = s->lines.size();
  while (at > 0 && Trim(s->lines[at - 1].text).empty()) --at;
  s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), TLine{line, k, true});
  s->keyIndex.clear();
  for (size_t j = 0; j < s->lines.size(); ++j)
    if (s->lines[j].isKey) s->keyIndex.try_emplace(Lower(s->lines[j].key), j);
}

void TIniFile::EraseSection(const std::string& section) {
  const std::string name = Lower(Trim(section));
  bool erased = false;
  for (size_t i = sections_.size(); i-- > 1;) {
    if (Lower(sections_[i].name) == name) {
      sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(i));
      erased = true;
    }
  }
  if (erased) {
    dirty_ = true;
    Reindex();
  }
}

void TIniFile::EraseKey(const std::string& section, const std::string& key) {
  const std::string name = Lower(Trim(section));
  const std::string k = Lower(Trim(key));
  bool erased = false;
  for (size_t i = 1; i < sections_.size(); ++i) {
    if (Lower(sections_[i].name) != name) continue;
    std::vector<TLine>& lines = sections_[i].lines;
    const size_t before = lines.size();
    std::erase_if(lines, [&](const TLine& l) { return l.isKey && Lower(l.key) == k; });
    erased = erased || lines.size() != before;
  }
  if (erased) {
    dirty_ = true;
    Reindex();
  }
}

std::vector<std::pair<std::string, std::pair<std::string, std::string>>> TIniFile::Entries() const {
  std::vector<std::pair<std::string, std::pair<std::string, std::string>>> out;
  for (size_t i = 1; i < sections_.size(); ++i)
    for (const TLine& l : sections_[i].lines)
      if (l.isKey) out.push_back({sections_[i].name, {l.key, l.text.substr(l.text.find('=') + 1)}});
  return out;
}

std::string TIniFile::Text() const {
  std::string out;
  for (size_t i = 0; i < sections_.size(); ++i) {
    if (i > 0) out += sections_[i].header + "\r\n";
    for (const TLine& l : sections_[i].lines) out += l.text + "\r\n";
  }
  return out;
}

void TIniFile::Flush() {
  if (path_.empty() || !dirty_) return;
  const std::string text = Text();
  WriteFileAtomically(path_, [&](std::FILE* f) { return std::fwrite(text.data(), 1, text.size(), f) == text.size(); });
  dirty_ = false;
}

}  // namespace qz
