#pragma once
// CComThread: the watcher of one open port. It blocks in epoll_wait() until bytes arrive,
// drains them as one burst (everything the driver holds until a read leaves the queue
// empty), and hands each burst to its sink, split into pieces of at most limit+1 bytes.
// Each byte is also given to the sink's postByte on the way. A vanished device (hang-up,
// EIO, end of file) ends the watcher: it stops reading and waits for nothing, so the owner
// sees silence, never a spinning thread.
#include <atomic>
#include <cstdint>
#include <string_view>
#include <thread>
#include <vector>

#include "serial/com_port.h"
#include "serial/unique_fd.h"

namespace m2 {

class BurstSink {
 public:
  virtual ~BurstSink() = default;
  // Called on the watcher thread for every piece of a burst.
  virtual void handOver(const std::uint8_t* data, int length) = 0;
  virtual void postByte(std::uint8_t byte) = 0;
  virtual void trace(std::string_view text) = 0;
};

class CComThread {
 public:
  static constexpr int kChunk = 80;  // bytes per read

  // limit: the highest position a burst byte may take before the piece is handed over.
  CComThread(ComPortInfo& port, BurstSink& sink, int limit);
  ~CComThread();
  CComThread(const CComThread&) = delete;
  CComThread& operator=(const CComThread&) = delete;

  bool start();  // false if the thread or its wake-up descriptor cannot be made
  void stop();   // sets the stop request, wakes the thread and joins it
  bool deviceGone() const { return m_deviceGone.load(); }

 private:
  void run(std::stop_token token);
  bool drainBurst();  // false when the device is gone

  ComPortInfo& m_port;
  BurstSink& m_sink;
  int m_limit;
  std::atomic<int> m_stopRequest{0};
  std::atomic<bool> m_deviceGone{false};
  static constexpr std::uint32_t kPortEvent = 0;
  static constexpr std::uint32_t kWakeEvent = 1;

  UniqueFd m_wake;   // eventfd: closing writes to it
  UniqueFd m_epoll;  // waits for the port and m_wake together
  std::vector<std::uint8_t> m_burst;
  std::jthread m_thread;
};

}  // namespace m2
