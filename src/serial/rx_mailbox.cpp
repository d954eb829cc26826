#include "serial/rx_mailbox.h"

#include <cstring>

namespace m2 {

void RxMailbox::beginTransaction() {
  std::lock_guard lock(m_mutex);
  m_rxReady = 0;
  m_rxNoWait = 0;
  m_changed.notify_all();
}

void RxMailbox::endTransaction() {
  std::lock_guard lock(m_mutex);
  m_rxNoWait = 1;
  m_rxReady = 0;
  m_changed.notify_all();
}

bool RxMailbox::ready() const {
  std::lock_guard lock(m_mutex);
  return m_rxReady == 1;
}

bool RxMailbox::waitReadyUntil(Clock::time_point deadline) {
  std::unique_lock lock(m_mutex);
  m_changed.wait_until(lock, deadline, [this] { return m_rxReady == 1 || m_engineWake; });
  m_engineWake = false;
  return m_rxReady == 1;
}

void RxMailbox::wakeEngine() {
  std::lock_guard lock(m_mutex);
  m_engineWake = true;
  m_changed.notify_all();
}

void RxMailbox::take() {
  std::lock_guard lock(m_mutex);
  m_rxReady = 0;
  m_changed.notify_all();
}

void RxMailbox::handOver(const std::uint8_t* data, int length) {
  std::function<void()> callback;
  {
    std::unique_lock lock(m_mutex);
    std::memcpy(m_rxBuffer.data(), data, static_cast<size_t>(length));
    m_rxLength = length;
    m_rxBuffer[static_cast<size_t>(length)] = 0;
    m_rxReady = 1;
    m_changed.notify_all();
    callback = m_readyCallback;
  }
  if (callback) callback();
  std::unique_lock lock(m_mutex);
  if (m_rxNoWait == 0)
    m_changed.wait(lock, [this] { return m_rxReady != 1 || m_rxNoWait == 1 || m_aborted; });
}

void RxMailbox::abortWaits() {
  std::lock_guard lock(m_mutex);
  m_aborted = true;
  m_changed.notify_all();
}

void RxMailbox::resetAbort() {
  std::lock_guard lock(m_mutex);
  m_aborted = false;
}

void RxMailbox::setReadyCallback(std::function<void()> callback) {
  std::lock_guard lock(m_mutex);
  m_readyCallback = std::move(callback);
}

}  // namespace m2
