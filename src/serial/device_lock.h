#pragma once
// Exclusive use of a serial device among programs, the way Linux serial tools agree on it:
// a UUCP lock file LCK..<name> in /var/lock holding the owner's PID (stale locks of dead
// processes are taken over), plus flock() on the open descriptor. Released on destruction.
#include <sys/types.h>

#include <string>

namespace m2 {

class DeviceLock {
 public:
  DeviceLock() = default;
  DeviceLock(DeviceLock&& other) noexcept;
  DeviceLock& operator=(DeviceLock&& other) noexcept;
  DeviceLock(const DeviceLock&) = delete;
  DeviceLock& operator=(const DeviceLock&) = delete;
  ~DeviceLock();

  // Takes the lock file for the device at realPath. False when a live process holds it;
  // refusedBy() then names that process.
  // A lock directory we may not write to is not an error: flock still guards the device.
  bool acquire(const std::string& realPath);
  void release();
  const std::string& path() const { return m_lockPath; }
  pid_t refusedBy() const { return m_refusedBy; }

  static std::string LockDirectory();
  static std::string LockFileName(const std::string& realPath);

 private:
  std::string m_lockPath;
  pid_t m_refusedBy = 0;
};

}  // namespace m2
