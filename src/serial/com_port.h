#pragma once
// The operating-system side of one serial port: the port record and the open, configure,
// read, write and close steps on a POSIX tty. Both link forms build on it.
//
// A port is named "COM<n>" (see com_naming.h): the COM<n> link in the working folder when
// there is one, else /dev/ttyS<n-1>. Port numbers above 4 never open.
#include <linux/serial.h>
#include <termios.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "serial/device_lock.h"
#include "serial/open_failure.h"
#include "serial/unique_fd.h"

namespace m2 {

using TraceFn = std::function<void(std::string_view)>;

// Write time-outs: mode 0 a constant 1000 ms, mode 1 also 4 ms per byte.
enum class TimeoutMode : int { Setup = 0, PerByte = 1 };

struct ComPortInfo {
  UniqueFd handle;
  std::atomic<int> openFlag{0};
  std::uint8_t portNumber = 0;
  std::uint32_t baudRate = 0;
  std::uint8_t byteSize = 8;
  std::uint8_t flowFlags = 0;
  std::uint8_t parity = 0;
  std::uint8_t stopBits = 0;
  int traceFlag = 1;
  TimeoutMode timeoutMode = TimeoutMode::Setup;

  std::string devicePath;  // as opened
  DeviceLock lock;
  std::optional<termios> savedTermios;
  // Drivers with error counters only. Read and written by the watcher (reading) and by the
  // writing thread (a failed write), so only under countsMutex.
  std::optional<serial_icounter_struct> lastCounts;
  std::mutex countsMutex;
};

// The path COM<n> opens; empty for a port number outside 1..4.
std::string ResolveComDevice(int portNumber);

// Opens devicePath exclusively and configures the line; on failure nothing stays open, and
// failure (when given) says why, its name being devicePath.
OpenError OpenComDevice(ComPortInfo& port, const std::string& devicePath,
                        OpenFailure* failure = nullptr);

// Applies the record's speed, format and flow flags to the open device.
bool ConfigureComLine(ComPortInfo& port);

void SetDtr(ComPortInfo& port, bool on);
void PurgeComPort(ComPortInfo& port);

// Lowers DTR, purges, restores the line settings, drops exclusivity and closes.
void CloseComDevice(ComPortInfo& port);

// Clears the exclusive mode and the flock and removes the lock file; the device stays open.
void DropExclusivity(ComPortInfo& port);

// Reads what is waiting, at most maxCount bytes, in one read. 0: nothing waiting. -1: the
// device is gone (hang-up, EIO, end of file). The line errors are cleared silently before
// the read; a read that fails traces its error number and then the line errors, as
// "<CE-%u>".
int ReadComPort(ComPortInfo& port, std::uint8_t* dst, int maxCount, const TraceFn& trace);

// 1: written (perhaps with a traced error after waiting); 0: failed at once. A failed write
// traces its error number (if it got that far) and the line errors.
int WriteComPort(ComPortInfo& port, const void* src, std::size_t count, const TraceFn& trace);

// Clears the line errors counted by the driver since the last call; traces them as
// "<CE-%u>" (the error bits) when trace is given. Any thread.
void ClearLineErrors(ComPortInfo& port, const TraceFn* trace);

std::string CeTrace(unsigned value);

}  // namespace m2
