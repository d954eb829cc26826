#include "serial/open_failure.h"

#include <dirent.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

namespace m2 {
namespace {

struct CauseRow {
  OpenError cause;
  const char* text;
};
constexpr std::array<CauseRow, 6> kCauseTexts{{
    {OpenError::None, ""},
    {OpenError::NoDevice, "ﾃﾞﾊﾞｲｽがありません"},
    {OpenError::PermissionDenied, "ｱｸｾｽ権がありません"},
    {OpenError::Busy, "他のﾌﾟﾛｸﾞﾗﾑが使用中です"},
    {OpenError::NotSerial, "ｼﾘｱﾙﾃﾞﾊﾞｲｽではありません"},
    {OpenError::LineRefused, "通信条件を設定できません"},
}};
static_assert(kCauseTexts.back().cause == OpenError::LineRefused, "rows follow OpenError");

std::string ProgramName(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/comm");
  std::string name;
  std::getline(in, name);
  return name;
}

// The kernel's record of flock()s: "1: FLOCK  ADVISORY  WRITE 1234 00:05:3 0 EOF".
pid_t FlockHolder(const struct stat& node) {
  std::ifstream in("/proc/locks");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string index, kind, mode, access, device;
    long pid = 0;
    if (!(fields >> index >> kind >> mode >> access >> pid >> device) || kind != "FLOCK") continue;
    unsigned devMajor = 0, devMinor = 0;
    unsigned long inode = 0;
    if (std::sscanf(device.c_str(), "%x:%x:%lu", &devMajor, &devMinor, &inode) == 3 &&
        inode == node.st_ino && devMajor == major(node.st_dev) && devMinor == minor(node.st_dev))
      return static_cast<pid_t>(pid);
  }
  return 0;
}

// A process with the device open (exclusive mode leaves no other trace); we see the
// descriptors of our own user's processes, all of them as root.
pid_t OpenedBy(const struct stat& node) {
  std::unique_ptr<DIR, int (*)(DIR*)> proc(::opendir("/proc"), ::closedir);
  if (!proc) return 0;
  const pid_t self = ::getpid();
  while (dirent* e = ::readdir(proc.get())) {
    const pid_t pid = static_cast<pid_t>(std::atol(e->d_name));
    if (pid <= 0 || pid == self) continue;
    const std::string fdDir = "/proc/" + std::string(e->d_name) + "/fd";
    std::unique_ptr<DIR, int (*)(DIR*)> fds(::opendir(fdDir.c_str()), ::closedir);
    if (!fds) continue;
    while (dirent* f = ::readdir(fds.get())) {
      struct stat st{};
      if (f->d_name[0] != '.' && ::stat((fdDir + "/" + f->d_name).c_str(), &st) == 0 &&
          S_ISCHR(st.st_mode) && st.st_rdev == node.st_rdev)
        return pid;
    }
  }
  return 0;
}

}  // namespace

void ExplainOpenFailure(OpenFailure& failure, pid_t lockHolder) {
  struct stat node{};
  const bool found = ::stat(failure.path.c_str(), &node) == 0;
  switch (failure.cause) {
    case OpenError::PermissionDenied:
      if (!found) break;
      if (const group* g = ::getgrgid(node.st_gid))
        failure.group = g->gr_name;
      else
        failure.group = std::to_string(node.st_gid);
      failure.groupMayOpen =
          node.st_gid != 0 && (node.st_mode & S_IRGRP) && (node.st_mode & S_IWGRP);
      break;
    case OpenError::Busy:
      failure.holder = lockHolder;
      if (!failure.holder && found) failure.holder = FlockHolder(node);
      if (!failure.holder && found && S_ISCHR(node.st_mode)) failure.holder = OpenedBy(node);
      if (failure.holder) failure.holderName = ProgramName(failure.holder);
      break;
    case OpenError::None:
    case OpenError::NoDevice:
    case OpenError::NotSerial:
    case OpenError::LineRefused: break;
  }
}

std::string OpenFailureDetail(const OpenFailure& failure) {
  if (failure.cause == OpenError::None) return {};
  std::string line =
      failure.name + ": " + kCauseTexts[static_cast<std::size_t>(failure.cause)].text;
  // The system's own words too: they are what people search for.
  if (failure.sysError != 0) line += std::string(" (") + std::strerror(failure.sysError) + ")";
  switch (failure.cause) {
    case OpenError::PermissionDenied:
      if (failure.group.empty()) break;
      if (failure.groupMayOpen)
        line += "。ﾕｰｻﾞｰを " + failure.group + " ｸﾞﾙｰﾌﾟに加えて (sudo usermod -aG " +
                failure.group + " $USER) ﾛｸﾞｲﾝし直してください";
      else
        line += "。ｸﾞﾙｰﾌﾟ " + failure.group + " にも読み書きの権利がありません";
      break;
    case OpenError::Busy:
      if (failure.holder)
        line += " (PID " + std::to_string(failure.holder) +
                (failure.holderName.empty() ? "" : " " + failure.holderName) + ")";
      break;
    case OpenError::None:
    case OpenError::NoDevice:
    case OpenError::NotSerial:
    case OpenError::LineRefused: break;
  }
  return line;
}

}  // namespace m2
