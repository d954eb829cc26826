#include "serial/com_thread.h"

#include <poll.h>
#include <sys/eventfd.h>

#include <cerrno>

namespace m2 {

CComThread::CComThread(ComPortInfo& port, BurstSink& sink, int limit)
    : m_port(port), m_sink(sink), m_limit(limit), m_burst(static_cast<size_t>(limit) + 1) {}

CComThread::~CComThread() { stop(); }

bool CComThread::start() {
  m_wake.reset(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!m_wake) return false;
  try {
    m_thread = std::jthread([this](std::stop_token token) { run(token); });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void CComThread::stop() {
  m_stopRequest = 1;
  if (m_thread.joinable()) {
    m_thread.request_stop();
    std::uint64_t one = 1;
    [[maybe_unused]] auto n = ::write(m_wake.get(), &one, sizeof one);
    m_thread.join();
  }
}

void CComThread::run(std::stop_token token) {
  while (!token.stop_requested() && m_stopRequest == 0 && m_port.openFlag == 1) {
    pollfd fds[2] = {{m_port.handle.get(), POLLIN, 0}, {m_wake.get(), POLLIN, 0}};
    int n = ::poll(fds, 2, -1);
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[1].revents) break;  // closing
    if (fds[0].revents & POLLIN) {
      if (!drainBurst()) break;
    } else if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
      break;
    }
  }
  if (m_stopRequest == 0 && !token.stop_requested()) m_deviceGone = true;
}

bool CComThread::drainBurst() {
  std::uint8_t chunk[kChunk];
  int length = 0;
  bool alive = true;
  for (;;) {
    int got = ReadComPort(m_port, chunk, kChunk,
                          [this](std::string_view text) { m_sink.trace(text); });
    if (got < 0) {
      alive = false;
      break;
    }
    if (got == 0) break;
    for (int i = 0; i < got; ++i) {
      m_sink.postByte(chunk[i]);
      if (length > m_limit) {
        m_sink.handOver(m_burst.data(), length);
        length = 0;
      }
      m_burst[static_cast<size_t>(length++)] = chunk[i];
    }
    // A read that did not fill the chunk emptied the driver's queue: the burst is complete
    // without a further read to find the queue empty.
    if (got < kChunk) break;
  }
  if (length > 0) m_sink.handOver(m_burst.data(), length);
  return alive;
}

}  // namespace m2
