#include "base/OutputFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <stdexcept>

#include "base/FileUtil.h"

namespace qz {

namespace {

// Links are followed this often at most (as the system itself does).
constexpr int MaxLinkHops = 40;
// Attempts at a temporary name before giving up (each is new and random).
constexpr int MaxTempAttempts = 64;

[[noreturn]] void CannotWrite(const std::string& path, const std::string& why) {
  throw std::runtime_error("Cannot write file " + path + ": " + why);
}

// The file a write of path replaces: path itself, or the file its chain of symbolic
// links ends at (which may not exist yet).
std::string ResolveLinks(const std::string& path) {
  std::string p = path;
  for (int hop = 0; hop < MaxLinkHops; ++hop) {
    struct stat st;
    if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
    std::vector<char> buf(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
    const ssize_t n = ::readlink(p.c_str(), buf.data(), buf.size() - 1);
    if (n < 0) return p;
    const std::string link(buf.data(), static_cast<size_t>(n));
    p = !link.empty() && link[0] == '/' ? link : FolderOf(p) + link;
  }
  CannotWrite(path, "too many symbolic links");
}

// A temporary name nobody can guess, in the folder of target.
std::string TempName(const std::string& target) {
  static std::random_device random;
  static const char* const digits = "0123456789abcdef";
  std::string name = FolderOf(target) + ".qz-";
  for (int i = 0; i < 4; ++i) {
    uint32_t r = random();
    for (int k = 0; k < 8; ++k, r >>= 4) name += digits[r & 15];
  }
  return name + ".tmp";
}

// Opens a new temporary file exclusively (never through a link planted there).
int CreateTemp(const std::string& path, const std::string& target, mode_t mode, std::string& temp) {
  for (int attempt = 0; attempt < MaxTempAttempts; ++attempt) {
    temp = TempName(target);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0) return fd;
    if (errno != EEXIST) CannotWrite(path, std::strerror(errno));
  }
  CannotWrite(path, "no temporary file could be made beside it");
}

}  // namespace

TFileGroup::~TFileGroup() {
  for (const TStaged& s : staged_)
    if (!s.temp.empty()) ::unlink(s.temp.c_str());
}

void TFileGroup::Write(const std::string& path, const TWriteFn& write) {
  TStaged s{ResolveLinks(path), path, "", 0};
  struct stat old;
  const bool exists = ::stat(s.target.c_str(), &old) == 0;
  if (exists) {
    if (S_ISDIR(old.st_mode)) CannotWrite(path, "it is a folder");
    if (!S_ISREG(old.st_mode)) CannotWrite(path, "it is not a regular file (a device, pipe or socket)");
    // A file marked read-only stays as it is, even where the folder would allow the
    // rename (and even for root, who may write anything).
    if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) CannotWrite(path, "the file is read-only");
  }
  const int fd = CreateTemp(path, s.target, exists ? S_IRUSR | S_IWUSR : 0666, s.temp);
  staged_.push_back(s);  // from here the destructor removes it on any failure
  TStaged& staged = staged_.back();
  if (exists) {
    // A replaced file keeps its permissions, and its owner where we may give it.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
    }
    ::fchmod(fd, old.st_mode & 07777);
  }
  std::FILE* f = ::fdopen(fd, "wb");
  if (!f) {
    const int err = errno;
    ::close(fd);
    CannotWrite(path, std::strerror(err));
  }
  bool ok = write(f);
  ok = std::fflush(f) == 0 && ok;
  ok = !std::ferror(f) && ok;
  ok = ::fsync(::fileno(f)) == 0 && ok;
  int err = errno;
  struct stat written;
  if (ok && ::fstat(::fileno(f), &written) == 0) staged.bytes = static_cast<uint64_t>(written.st_size);
  ok = std::fclose(f) == 0 && ok;
  if (!ok) CannotWrite(path, std::strerror(err ? err : EIO));
}

uint64_t TFileGroup::WrittenBytes(const std::string& path) const {
  for (const TStaged& s : staged_)
    if (s.path == path) return s.bytes;
  return 0;
}

void TFileGroup::Commit() {
  for (TStaged& s : staged_) {
    if (std::rename(s.temp.c_str(), s.target.c_str()) != 0) CannotWrite(s.path, std::strerror(errno));
    s.temp.clear();
  }
  staged_.clear();
}

void WriteFileAtomically(const std::string& path, const TWriteFn& write) {
  TFileGroup files;
  files.Write(path, write);
  files.Commit();
}

void WriteOutput(TFileGroup* files, const std::string& path, const TWriteFn& write) {
  if (files)
    files->Write(path, write);
  else
    WriteFileAtomically(path, write);
}

void WriteOutputBytes(TFileGroup* files, const std::string& path, const void* data, size_t size) {
  WriteOutput(files, path, [&](std::FILE* f) { return std::fwrite(data, 1, size, f) == size; });
}

}  // namespace qz
