#include "platform/FileUtil.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <strings.h>

namespace qz {

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, size_t maxBytes) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::nullopt;
  std::vector<uint8_t> data;
  uint8_t buf[65536];
  size_t n;
  bool tooBig = false;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
    if (data.size() + n > maxBytes) {
      tooBig = true;
      break;
    }
    data.insert(data.end(), buf, buf + n);
  }
  bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (tooBig || failed) return std::nullopt;
  return data;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void WriteFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& write) {
  // A file marked read-only stays as it is, even where the folder would allow the
  // rename (and even for root, who may write anything).
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && (!S_ISREG(st.st_mode) || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0))
    throw std::runtime_error("Cannot write file " + path + ": the file is read-only");
  std::string temp = path + ".tmp-" + std::to_string(::getpid());
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) throw std::runtime_error("Cannot write file " + path + ": " + std::strerror(errno));
  bool ok = write(f);
  ok = std::fflush(f) == 0 && ok;
  ok = !std::ferror(f) && ok;
  ok = ::fsync(::fileno(f)) == 0 && ok;
  int err = errno;
  ok = std::fclose(f) == 0 && ok;
  if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
    err = errno;
    ok = false;
  }
  if (!ok) {
    std::remove(temp.c_str());
    throw std::runtime_error("Cannot write file " + path + ": " + std::strerror(err ? err : EIO));
  }
}

std::string BareFileName(const std::string& path) {
  size_t cut = path.find_last_of("/\\");
  std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
  // A drive-relative Windows path such as "C:wood.jpg".
  if (name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0])))
    name = name.substr(2);
  return name;
}

std::optional<std::string> FindFileNoCase(const std::string& folder, const std::string& name) {
  if (name.empty()) return std::nullopt;
  std::string dir = folder.empty() ? std::string("./") : folder;
  if (dir.back() != '/') dir += '/';
  if (FileExists(dir + name)) return dir + name;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string candidate = it->path().filename().string();
    if (::strcasecmp(candidate.c_str(), name.c_str()) == 0 && FileExists(dir + candidate)) return dir + candidate;
  }
  return std::nullopt;
}

std::string WithTrailingSlash(const std::string& path) {
  if (path.empty() || path.back() == '/') return path;
  return path + '/';
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ReplaceFileExt(const std::string& path, const std::string& ext) {
  const size_t nameStart = path.find_last_of('/') + 1;  // npos + 1 == 0
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || dot < nameStart) return path + ext;
  return path.substr(0, dot) + ext;
}

}  // namespace qz
