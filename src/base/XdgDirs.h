// The user's folders as the freedesktop.org conventions place them: settings under
// $XDG_CONFIG_HOME (~/.config), data under $XDG_DATA_HOME (~/.local/share), files
// that may be thrown away under $XDG_CACHE_HOME (~/.cache), and the pictures folder
// named by XDG_PICTURES_DIR in $XDG_CONFIG_HOME/user-dirs.dirs (~/Pictures when it
// names none).
//
//   TXdgDirs xdg = TXdgDirs::FromEnvironment();
//   std::string settings = xdg.ConfigHome + "quenzar/Buttons.dat";
//
// A variable that is unset, empty or relative counts as unset (a relative one is
// invalid by the conventions); HOME comes from the password database when it is
// unset. Nothing here touches the disk but the one read of user-dirs.dirs.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace qz {

// Gives the value of an environment variable, or null when it is unset.
using TGetEnv = std::function<const char*(const char*)>;

struct TXdgDirs {
  std::string Home;         // each with its trailing "/"
  std::string ConfigHome;
  std::string DataHome;
  std::string CacheHome;
  std::string PicturesDir;

  // The folders from env (the process's environment by default).
  static TXdgDirs FromEnvironment(const TGetEnv& env = {});
};

// The value of XDG_PICTURES_DIR in the text of a user-dirs.dirs file, with "$HOME"
// replaced by home (which ends with "/"), with its trailing "/"; nothing when the
// text does not name it or names it in a form the file may not use (only
// "$HOME/..." and "/..." are allowed).
std::optional<std::string> PicturesDirFromUserDirs(const std::string& text, const std::string& home);

// The folder of the running executable, with its trailing "/".
std::string ExecutableFolder();

}  // namespace qz
