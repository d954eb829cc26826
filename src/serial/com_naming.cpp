#include "serial/com_naming.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "serial/port_tables.h"

namespace m2 {
namespace {

constexpr const char* kArrow = " → ";

std::string ComName(int portNumber) { return "COM" + std::to_string(portNumber); }

std::string LocalPath(const std::string& folder, int portNumber) {
  return folder == "." ? ComName(portNumber) : folder + "/" + ComName(portNumber);
}

}  // namespace

ComTarget ResolveCom(int portNumber, const ComNaming& naming) {
  ComTarget t;
  if (portNumber < 1 || portNumber > kPortCount) return t;
  const std::string local = LocalPath(naming.folder, portNumber);
  struct stat st{};
  if (::lstat(local.c_str(), &st) == 0) {
    t.openPath = local;
    t.device = local;
    if (S_ISLNK(st.st_mode)) {
      t.source = ComSource::Link;
      std::error_code ec;
      t.device = std::filesystem::read_symlink(local, ec).string();
      if (ec) t.device = local;
    } else {
      t.source = ComSource::LocalFile;
    }
    t.exists = ::stat(local.c_str(), &st) == 0;
    return t;
  }
  t.source = ComSource::TtyS;
  t.openPath = naming.ttySPrefix + std::to_string(portNumber - 1);
  t.device = t.openPath;
  t.exists = ::stat(t.openPath.c_str(), &st) == 0;
  return t;
}

std::string ComDisplayName(int portNumber, const ComTarget& target) {
  switch (target.source) {
    case ComSource::OutOfRange: return ComName(portNumber);
    case ComSource::Link: return ComName(portNumber) + kArrow + target.device;
    case ComSource::LocalFile:
    case ComSource::TtyS: return target.openPath;
  }
  return target.openPath;
}

std::string ComTargetText(int portNumber, const ComTarget& target) {
  if (target.source == ComSource::OutOfRange) return "なし";
  if (target.exists) return ComDisplayName(portNumber, target);
  if (target.source == ComSource::TtyS) return "なし (" + target.openPath + " がありません)";
  return ComDisplayName(portNumber, target) + " (ありません)";
}

LinkOutcome MakeComLink(int portNumber, const std::string& device, const std::string& folder) {
  if (portNumber < 1 || portNumber > kPortCount || device.empty())
    return {LinkResult::Failed, EINVAL};
  const std::string local = LocalPath(folder, portNumber);
  bool replacing = false;
  struct stat st{};
  if (::lstat(local.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) return {LinkResult::NotALink, EEXIST};
    replacing = true;
  }
  std::error_code ec;
  const std::string target =
      device.front() == '/' ? device
                            : std::filesystem::absolute(device, ec).lexically_normal().string();
  // Made under a name of its own and renamed over the old link, so COM<n> never vanishes.
  const std::string temporary = local + ".new" + std::to_string(::getpid());
  ::unlink(temporary.c_str());
  if (::symlink(target.c_str(), temporary.c_str()) != 0) return {LinkResult::Failed, errno};
  if (::rename(temporary.c_str(), local.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    return {LinkResult::Failed, error};
  }
  return {replacing ? LinkResult::Replaced : LinkResult::Made, 0};
}

}  // namespace m2
