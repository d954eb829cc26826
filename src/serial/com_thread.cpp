#include "serial/com_thread.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>

#include <cerrno>

namespace m2 {

CComThread::CComThread(ComPortInfo& port, BurstSink& sink, int limit)
    : m_port(port), m_sink(sink), m_limit(limit), m_burst(static_cast<size_t>(limit) + 1) {}

CComThread::~CComThread() { stop(); }

bool CComThread::start() {
  m_wake.reset(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  m_epoll.reset(::epoll_create1(EPOLL_CLOEXEC));
  if (!m_wake || !m_epoll) return false;
  // Registered once: each wait then costs no registration with the driver and the eventfd.
  epoll_event port{EPOLLIN, {.u32 = kPortEvent}};
  epoll_event wake{EPOLLIN, {.u32 = kWakeEvent}};
  if (::epoll_ctl(m_epoll.get(), EPOLL_CTL_ADD, m_port.handle.get(), &port) != 0 ||
      ::epoll_ctl(m_epoll.get(), EPOLL_CTL_ADD, m_wake.get(), &wake) != 0)
    return false;
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
    epoll_event ready[2];
    const int n = ::epoll_wait(m_epoll.get(), ready, 2, -1);
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    std::uint32_t port = 0;
    bool closing = false;
    for (int i = 0; i < n; ++i) {
      if (ready[i].data.u32 == kWakeEvent)
        closing = true;
      else
        port = ready[i].events;
    }
    if (closing) break;
    if (port & EPOLLIN) {
      if (!drainBurst()) break;
    } else if (port & (EPOLLHUP | EPOLLERR)) {
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
