#include "serial/com_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "serial/com_naming.h"
#include "serial/port_tables.h"

namespace m2 {
namespace {

speed_t BaudConstant(std::uint32_t baud) {
  switch (baud) {
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B9600;
  }
}

std::optional<serial_icounter_struct> ReadCounters(int fd) {
  serial_icounter_struct counts{};
  if (::ioctl(fd, TIOCGICOUNT, &counts) != 0) return std::nullopt;
  return counts;
}

// Drivers that support it get no closing wait, so close() cannot hang draining output
// that flow control holds back.
void DisableClosingWait(int fd) {
  serial_struct ss{};
  if (::ioctl(fd, TIOCGSERIAL, &ss) != 0) return;
  ss.closing_wait = ASYNC_CLOSING_WAIT_NONE;
  ::ioctl(fd, TIOCSSERIAL, &ss);
}

}  // namespace

std::string CeTrace(unsigned value) {
  char text[32];
  std::snprintf(text, sizeof text, "<CE-%u>", value);
  return text;
}

std::string ResolveComDevice(int portNumber) { return ResolveCom(portNumber).openPath; }

OpenError OpenComDevice(ComPortInfo& port, const std::string& devicePath, OpenFailure* failure) {
  auto fail = [&](OpenError cause, int error, pid_t lockHolder = 0) {
    if (failure) {
      failure->cause = cause;
      if (failure->name.empty()) failure->name = devicePath;
      failure->path = devicePath;
      failure->sysError = error;
      ExplainOpenFailure(*failure, lockHolder);
    }
    return cause;
  };
  UniqueFd fd(::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!fd) {
    const int error = errno;
    switch (error) {
      case EACCES:
      case EPERM: return fail(OpenError::PermissionDenied, error);
      case EBUSY: return fail(OpenError::Busy, error);
      case EISDIR: return fail(OpenError::NotSerial, error);
      default: return fail(OpenError::NoDevice, error);
    }
  }
  if (!::isatty(fd.get())) return fail(OpenError::NotSerial, 0);

  // Exclusivity: TIOCEXCL keeps out later opens by non-root programs, flock keeps out
  // any copy of ours (root included), the lock file keeps out UUCP-convention tools.
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return fail(OpenError::Busy, 0);
  char resolved[PATH_MAX];
  std::string realPath = ::realpath(devicePath.c_str(), resolved) ? resolved : devicePath;
  DeviceLock lock;
  if (!lock.acquire(realPath)) return fail(OpenError::Busy, 0, lock.refusedBy());
  ::ioctl(fd.get(), TIOCEXCL);

  termios saved{};
  if (::tcgetattr(fd.get(), &saved) != 0) return fail(OpenError::NotSerial, errno);

  port.handle = std::move(fd);
  port.devicePath = devicePath;
  port.lock = std::move(lock);
  port.savedTermios = saved;
  DisableClosingWait(port.handle.get());
  PurgeComPort(port);
  if (!ConfigureComLine(port)) {
    const int error = errno;
    CloseComDevice(port);
    return fail(OpenError::LineRefused, error);
  }
  {
    std::lock_guard lock(port.countsMutex);
    port.lastCounts = ReadCounters(port.handle.get());
  }
  return OpenError::None;
}

bool ConfigureComLine(ComPortInfo& port) {
  termios t{};
  if (::tcgetattr(port.handle.get(), &t) != 0) return false;
  ::cfmakeraw(&t);
  t.c_cflag |= CREAD | CLOCAL;
  t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  t.c_cflag |= port.byteSize == 7 ? CS7 : CS8;
  if (port.parity != static_cast<std::uint8_t>(Parity::None)) {
    t.c_cflag |= PARENB;
    if (port.parity == static_cast<std::uint8_t>(Parity::Odd)) t.c_cflag |= PARODD;
    t.c_iflag |= INPCK;
  }
  if (port.stopBits == 2) t.c_cflag |= CSTOPB;
  if (port.flowFlags & kFlowRtsCts) t.c_cflag |= CRTSCTS;
  t.c_iflag &= ~(IXON | IXOFF | IXANY);
  if (port.flowFlags & kFlowXonXoff) t.c_iflag |= IXON | IXOFF;
  t.c_cc[VSTART] = 0x11;
  t.c_cc[VSTOP] = 0x13;
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  const speed_t speed = BaudConstant(port.baudRate);
  ::cfsetispeed(&t, speed);
  ::cfsetospeed(&t, speed);
  return ::tcsetattr(port.handle.get(), TCSANOW, &t) == 0;
}

void SetDtr(ComPortInfo& port, bool on) {
  int bits = TIOCM_DTR;
  ::ioctl(port.handle.get(), on ? TIOCMBIS : TIOCMBIC, &bits);  // ptys have no modem lines
}

void PurgeComPort(ComPortInfo& port) { ::tcflush(port.handle.get(), TCIOFLUSH); }

void CloseComDevice(ComPortInfo& port) {
  if (!port.handle) return;
  const int fd = port.handle.get();
  SetDtr(port, false);
  PurgeComPort(port);
  if (port.savedTermios) ::tcsetattr(fd, TCSANOW, &*port.savedTermios);
  DropExclusivity(port);
  port.handle.reset();
  port.savedTermios.reset();
}

void DropExclusivity(ComPortInfo& port) {
  if (!port.handle) return;
  ::ioctl(port.handle.get(), TIOCNXCL);
  ::flock(port.handle.get(), LOCK_UN);
  port.lock.release();
}

void ClearLineErrors(ComPortInfo& port, const TraceFn* trace) {
  unsigned bits = 0;
  {
    std::lock_guard lock(port.countsMutex);
    if (!port.lastCounts) return;
    auto now = ReadCounters(port.handle.get());
    if (!now) return;
    // The same bit values the error query of other platforms reports.
    const serial_icounter_struct& last = *port.lastCounts;
    if (now->overrun != last.overrun || now->buf_overrun != last.buf_overrun) bits |= 0x0002;
    if (now->parity != last.parity) bits |= 0x0004;
    if (now->frame != last.frame) bits |= 0x0008;
    if (now->brk != last.brk) bits |= 0x0010;
    port.lastCounts = now;
  }
  // Traced outside the lock: the terminal may take its time.
  if (bits && port.traceFlag == 1 && trace && *trace) (*trace)(CeTrace(bits));
}

int ReadComPort(ComPortInfo& port, std::uint8_t* dst, int maxCount, const TraceFn& trace) {
  const int fd = port.handle.get();
  ClearLineErrors(port, nullptr);
  // The descriptor does not block: the read returns what the driver holds, up to maxCount,
  // or EAGAIN when it holds nothing, so no count is asked for first.
  ssize_t got = ::read(fd, dst, static_cast<size_t>(maxCount));
  if (got > 0) return static_cast<int>(got);
  if (got == 0) return -1;
  if (errno == EAGAIN || errno == EINTR) return 0;
  if (errno == EIO) return -1;  // hung up: a vanished device is silent, not a line error
  if (trace && port.traceFlag == 1) trace(CeTrace(static_cast<unsigned>(errno)));
  ClearLineErrors(port, &trace);
  return -1;
}

int WriteComPort(ComPortInfo& port, const void* src, std::size_t count, const TraceFn& trace) {
  if (count == 0) return 1;
  const int fd = port.handle.get();
  const auto* p = static_cast<const std::uint8_t*>(src);
  std::size_t done = 0;
  const auto budget = std::chrono::milliseconds(
      1000 + (port.timeoutMode == TimeoutMode::PerByte ? 4 * static_cast<long>(count) : 0));
  const auto deadline = std::chrono::steady_clock::now() + budget;
  while (done < count) {
    ssize_t n = ::write(fd, p + done, count - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) {
      if (done == 0) {
        ClearLineErrors(port, &trace);
        return 0;
      }
      if (trace && port.traceFlag == 1) trace(CeTrace(static_cast<unsigned>(errno)));
      ClearLineErrors(port, &trace);
      return 1;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd pfd{fd, POLLOUT, 0};
    if (left.count() <= 0 || ::poll(&pfd, 1, static_cast<int>(left.count())) <= 0 ||
        (pfd.revents & (POLLERR | POLLHUP | POLLNVAL))) {
      // Write time-out: reported as an error after waiting, like a failed completion.
      if (trace && port.traceFlag == 1) trace(CeTrace(static_cast<unsigned>(ETIMEDOUT)));
      ClearLineErrors(port, &trace);
      return 1;
    }
  }
  return 1;
}

}  // namespace m2
