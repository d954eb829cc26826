#pragma once
// Why a port did not open, in one line for the user under the numbered message: the
// device as named (a COM link with its target), the cause, and what can be done about it.
//  - permission denied: the group owning the device node (read from the node, as it
//    differs between distributions) and the fix, joining it and logging in again;
//  - in use: the holder's PID and program name, from the lock file or the kernel;
//  - no such device, not a serial device, line settings refused.
#include <sys/types.h>

#include <string>

namespace m2 {

enum class OpenError { None, NoDevice, PermissionDenied, Busy, NotSerial, LineRefused };

struct OpenFailure {
  OpenError cause = OpenError::None;
  std::string name;           // as the user knows it: "COM1 → /dev/ttyUSB0" or the path
  std::string path;           // the path opened
  int sysError = 0;           // errno, when the system said why
  std::string group;          // permission denied: the node's group
  bool groupMayOpen = false;  // that group may read and write the node
  pid_t holder = 0;           // in use: the holder, when known
  std::string holderName;
};

// Fills in the group (permission denied) or the holder (in use) from the device itself.
// lockHolder: the PID a live lock file named, 0 when none did.
void ExplainOpenFailure(OpenFailure& failure, pid_t lockHolder = 0);

// The detail line; empty for OpenError::None.
std::string OpenFailureDetail(const OpenFailure& failure);

}  // namespace m2
