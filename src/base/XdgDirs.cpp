#include "base/XdgDirs.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "base/FileUtil.h"

namespace qz {

namespace {

// user-dirs.dirs is a few lines long; anything larger is not one.
constexpr size_t MaxUserDirsBytes = 64 * 1024;

// An absolute folder from the variable, or nothing.
std::optional<std::string> AbsoluteVariable(const TGetEnv& env, const char* name) {
  const char* value = env(name);
  if (!value || value[0] != '/') return std::nullopt;
  return WithTrailingSlash(value);
}

std::string HomeFolder(const TGetEnv& env) {
  if (auto home = AbsoluteVariable(env, "HOME")) return *home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/') return WithTrailingSlash(pw->pw_dir);
  // No home anywhere: the root folder, where an ordinary user may write nothing, so
  // every save names the folder it could not write.
  return "/";
}

}  // namespace

std::optional<std::string> PicturesDirFromUserDirs(const std::string& text, const std::string& home) {
  std::istringstream lines(text);
  std::optional<std::string> found;
  for (std::string line; std::getline(lines, line);) {
    size_t at = line.find_first_not_of(" \t");
    const std::string key = "XDG_PICTURES_DIR";
    if (at == std::string::npos || line.compare(at, key.size(), key) != 0) continue;
    at = line.find_first_not_of(" \t", at + key.size());
    if (at == std::string::npos || line[at] != '=') continue;
    at = line.find_first_not_of(" \t", at + 1);
    if (at == std::string::npos || line[at] != '"') continue;
    ++at;
    std::string path;
    if (line.compare(at, 5, "$HOME") == 0) {
      at += 5;
      path = home;
      if (at < line.size() && line[at] == '/') ++at;
      else if (at >= line.size() || line[at] != '"') continue;  // "$HOMEX" is no home
    } else if (at < line.size() && line[at] == '/') {
      path = "/";
      ++at;
    } else {
      continue;  // a relative path is not allowed
    }
    bool closed = false;
    for (; at < line.size(); ++at) {
      if (line[at] == '"') {
        closed = true;
        break;
      }
      if (line[at] == '\\' && at + 1 < line.size()) ++at;  // an escaped character stands for itself
      path += line[at];
    }
    if (closed) found = WithTrailingSlash(path);  // the last line that names it wins, as in a shell
  }
  return found;
}

TXdgDirs TXdgDirs::FromEnvironment(const TGetEnv& given) {
  const TGetEnv env = given ? given : [](const char* name) -> const char* { return std::getenv(name); };
  TXdgDirs d;
  d.Home = HomeFolder(env);
  d.ConfigHome = AbsoluteVariable(env, "XDG_CONFIG_HOME").value_or(d.Home + ".config/");
  d.DataHome = AbsoluteVariable(env, "XDG_DATA_HOME").value_or(d.Home + ".local/share/");
  d.CacheHome = AbsoluteVariable(env, "XDG_CACHE_HOME").value_or(d.Home + ".cache/");
  d.PicturesDir = d.Home + "Pictures/";
  if (auto text = ReadWholeFile(d.ConfigHome + "user-dirs.dirs", MaxUserDirsBytes))
    if (auto pictures = PicturesDirFromUserDirs(std::string(text->begin(), text->end()), d.Home))
      d.PicturesDir = *pictures;
  return d;
}

std::string ExecutableFolder() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "./";
  return WithTrailingSlash(exe.parent_path().string());
}

}  // namespace qz
