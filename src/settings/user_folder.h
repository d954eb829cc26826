#pragma once
// Where the programs work. Started from a terminal they work in the current folder: it holds
// the settings file, its .bad copies and the COMn links. Started from the desktop menu (whose
// working folder is the home folder) they are told so with --user-folder and work in one
// folder of the user's own, ${XDG_DATA_HOME:-$HOME/.local/share}/orvante-m2klx, made on the
// first start and readable by the user alone.
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace m2 {

inline constexpr const char* kUserFolderOption = "--user-folder";
inline constexpr const char* kUserFolderName = "orvante-m2klx";

// The per-user folder for these environment values (either may be null). An XDG_DATA_HOME
// that is not an absolute path is ignored, as the base-directory rules say. Empty when
// neither gives an absolute path.
std::filesystem::path UserFolderPath(const char* xdgDataHome, const char* home);

// Makes the folder (mode 0700, parents as needed) when it is missing and changes into it.
std::error_code EnterUserFolder(const std::filesystem::path& folder);

// The arguments a program takes after Qt has removed its own: --user-folder, and where
// takesPath is set one optional file path ("--" ends the options).
struct LaunchOptions {
  bool userFolder = false;
  std::string path;
  std::string error;  // empty when the arguments were understood
};
LaunchOptions ParseLaunchOptions(const std::vector<std::string>& args, bool takesPath);

}  // namespace m2
