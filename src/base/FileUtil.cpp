#include "base/FileUtil.h"

#include <fcntl.h>
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

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, size_t maxBytes, std::string* why) {
  auto fail = [why](const std::string& reason) -> std::optional<std::vector<uint8_t>> {
    if (why) *why = reason;
    return std::nullopt;
  };
  // Opened without waiting: a pipe with no writer would otherwise block for good.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return fail(errno == ENOENT ? MissingFile : std::strerror(errno));
  struct stat st;
  std::string refusal;
  if (::fstat(fd, &st) != 0)
    refusal = std::strerror(errno);
  else if (S_ISDIR(st.st_mode))
    refusal = "it is a folder";
  else if (!S_ISREG(st.st_mode))
    refusal = "it is not a regular file (a device, pipe or socket)";
  else if (static_cast<uint64_t>(st.st_size) > maxBytes)
    refusal = "it is larger than " + std::to_string(maxBytes) + " bytes";
  if (!refusal.empty()) {
    ::close(fd);
    return fail(refusal);
  }
  std::vector<uint8_t> data;
  uint8_t buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      return fail(std::strerror(err));
    }
    if (data.size() + static_cast<size_t>(n) > maxBytes) {  // it grew while being read
      ::close(fd);
      return fail("it is larger than " + std::to_string(maxBytes) + " bytes");
    }
    data.insert(data.end(), buf, buf + n);
  }
  ::close(fd);
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
