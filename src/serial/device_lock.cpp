#include "serial/device_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

namespace m2 {
namespace {

bool AsciiPid(const char* text, std::size_t length) {
  bool digit = false;
  for (std::size_t i = 0; i < length; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9')
      digit = true;
    else if (c != ' ' && c != '\n')
      return false;
  }
  return digit;
}

// PID in a lock file: ASCII digits, padded with spaces and ended by a newline (the usual
// form is ten characters, but "  1\n" or "123\n" are four bytes too); only a 4-byte file that
// is not such text is an old-style binary int.
pid_t ReadLockPid(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  char buf[32] = {};
  ssize_t n = ::read(fd, buf, sizeof buf - 1);
  ::close(fd);
  if (n <= 0) return -1;
  const auto length = static_cast<std::size_t>(n);
  if (length == 4 && !AsciiPid(buf, length)) {
    std::int32_t pid;
    std::memcpy(&pid, buf, 4);
    return pid > 0 ? pid : -1;
  }
  long pid = std::strtol(buf, nullptr, 10);
  return pid > 0 ? static_cast<pid_t>(pid) : -1;
}

bool ProcessAlive(pid_t pid) { return ::kill(pid, 0) == 0 || errno != ESRCH; }

}  // namespace

DeviceLock::DeviceLock(DeviceLock&& other) noexcept
    : m_lockPath(std::exchange(other.m_lockPath, {})) {}

DeviceLock& DeviceLock::operator=(DeviceLock&& other) noexcept {
  if (this != &other) {
    release();
    m_lockPath = std::exchange(other.m_lockPath, {});
  }
  return *this;
}

DeviceLock::~DeviceLock() { release(); }

std::string DeviceLock::LockDirectory() { return "/var/lock"; }

std::string DeviceLock::LockFileName(const std::string& realPath) {
  std::string name = realPath;
  if (name.rfind("/dev/", 0) == 0) name.erase(0, 5);
  for (char& c : name)
    if (c == '/') c = '_';
  return "LCK.." + name;
}

bool DeviceLock::acquire(const std::string& realPath) {
  release();
  m_refusedBy = 0;
  const std::string path = LockDirectory() + "/" + LockFileName(realPath);
  for (int attempt = 0; attempt < 2; ++attempt) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
      char text[16];
      int len = std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(::getpid()));
      bool ok = ::write(fd, text, static_cast<size_t>(len)) == len;
      ::close(fd);
      if (!ok) {
        ::unlink(path.c_str());
        return true;  // could not record the PID: rely on flock alone
      }
      m_lockPath = path;
      return true;
    }
    if (errno != EEXIST) return true;  // no usable lock directory: flock still guards
    pid_t owner = ReadLockPid(path);
    if (owner > 0 && ProcessAlive(owner)) {
      m_refusedBy = owner;
      return false;
    }
    ::unlink(path.c_str());  // stale: its owner is gone
  }
  return false;
}

void DeviceLock::release() {
  if (m_lockPath.empty()) return;
  ::unlink(m_lockPath.c_str());
  m_lockPath.clear();
}

}  // namespace m2
