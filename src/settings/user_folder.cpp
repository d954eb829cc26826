#include "settings/user_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace m2 {

std::filesystem::path UserFolderPath(const char* xdgDataHome, const char* home) {
  namespace fs = std::filesystem;
  if (xdgDataHome && fs::path(xdgDataHome).is_absolute())
    return fs::path(xdgDataHome) / kUserFolderName;
  if (home && fs::path(home).is_absolute())
    return fs::path(home) / ".local/share" / kUserFolderName;
  return {};
}

std::error_code EnterUserFolder(const std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  if (folder.empty()) return std::make_error_code(std::errc::no_such_file_or_directory);
  std::error_code ec;
  fs::create_directories(folder.parent_path(), ec);
  if (ec) return ec;
  // Made here rather than by create_directories so that it never exists with wider rights.
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
    return {errno, std::generic_category()};
  if (::chdir(folder.c_str()) != 0) return {errno, std::generic_category()};
  return {};
}

LaunchOptions ParseLaunchOptions(const std::vector<std::string>& args, bool takesPath) {
  LaunchOptions options;
  bool optionsEnded = false;
  for (const std::string& arg : args) {
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && arg == kUserFolderOption) {
      options.userFolder = true;
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      options.error = "unknown option " + arg;
    } else if (takesPath && options.path.empty()) {
      options.path = arg;
    } else {
      options.error = "unexpected argument " + arg;
    }
    if (!options.error.empty()) break;
  }
  return options;
}

}  // namespace m2
