#include "pty_endpoint.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/signalfd.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace m2::sim {

PtyEndpoint::PtyEndpoint(std::string linkPath) : m_linkPath(std::move(linkPath)) {
  m_master.reset(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
  if (!m_master || ::grantpt(m_master.get()) != 0 || ::unlockpt(m_master.get()) != 0)
    throw std::runtime_error("cannot create a pseudo-terminal");
  const char* name = ::ptsname(m_master.get());
  if (!name) throw std::runtime_error("cannot name the pseudo-terminal");
  m_slaveName = name;
  m_slaveHold.reset(::open(m_slaveName.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
  if (!m_slaveHold) throw std::runtime_error("cannot open " + m_slaveName);
  termios t{};
  ::tcgetattr(m_slaveHold.get(), &t);
  ::cfmakeraw(&t);
  ::tcsetattr(m_slaveHold.get(), TCSANOW, &t);
  ::unlink(m_linkPath.c_str());
  if (::symlink(m_slaveName.c_str(), m_linkPath.c_str()) != 0)
    throw std::runtime_error("cannot link " + m_linkPath + " to " + m_slaveName);
}

PtyEndpoint::~PtyEndpoint() {
  char target[256] = {};
  ssize_t n = ::readlink(m_linkPath.c_str(), target, sizeof target - 1);
  if (n > 0 && m_slaveName == std::string(target, static_cast<size_t>(n)))
    ::unlink(m_linkPath.c_str());
}

bool PtyEndpoint::write(std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(m_master.get(), bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return false;
    pollfd p{m_master.get(), POLLOUT, 0};
    if (::poll(&p, 1, 5000) <= 0) return false;  // nobody reads: give up this reply
  }
  return true;
}

int RunSimulator(PtyEndpoint& line, SimProtocol& protocol) {
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGHUP);
  ::sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
  m2::UniqueFd signals(::signalfd(-1, &stopSignals, SFD_CLOEXEC));
  std::optional<SimProtocol::Clock::time_point> next =
      protocol.onTick(SimProtocol::Clock::now(), line);
  for (;;) {
    int timeout = -1;
    if (next) {
      auto left = std::chrono::ceil<std::chrono::milliseconds>(*next - SimProtocol::Clock::now());
      timeout = left.count() < 0 ? 0 : static_cast<int>(left.count());
    }
    pollfd fds[2] = {{line.masterFd(), POLLIN, 0}, {signals.get(), POLLIN, 0}};
    int n = ::poll(fds, 2, timeout);
    if (n < 0 && errno != EINTR) return 1;
    if (n > 0 && fds[1].revents) return 0;
    if (n > 0 && (fds[0].revents & POLLIN)) {
      std::uint8_t buf[4096];
      ssize_t got = ::read(line.masterFd(), buf, sizeof buf);
      if (got > 0) protocol.onReceive(buf, static_cast<std::size_t>(got), line);
    }
    next = protocol.onTick(SimProtocol::Clock::now(), line);
  }
}

}  // namespace m2::sim
