#pragma once
// The hand-over of received bursts from the watcher thread to the AT transaction engine.
// A burst piece of up to 1025 bytes is stored with a zero byte after it and rxReady set;
// while a transaction waits (rxNoWait 0) the watcher blocks until the engine has taken
// the piece. The engine always leaves with rxNoWait 1 and rxReady 0, so no wait outlives
// a transaction; closing the port also ends any wait.
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace m2 {

class RxMailbox {
 public:
  static constexpr int kDataLimit = 1024;  // highest position of a burst byte
  using Clock = std::chrono::steady_clock;

  // Engine side (the user-interface thread).
  void beginTransaction();  // rxReady 0, rxNoWait 0
  void endTransaction();    // rxNoWait 1, rxReady 0
  bool ready() const;
  // Blocks until a piece is ready, the deadline passes or wakeEngine is called; true when
  // ready.
  bool waitReadyUntil(Clock::time_point deadline);
  // Any thread: ends the engine's current (or next) waitReadyUntil early.
  void wakeEngine();
  int length() const { return m_rxLength; }                       // valid while ready
  const std::uint8_t* data() const { return m_rxBuffer.data(); }  // valid while ready
  void take();  // rxReady 0: releases the watcher

  // Watcher side.
  void handOver(const std::uint8_t* data, int length);
  void abortWaits();  // closing: a watcher waiting for the engine goes on
  void resetAbort();

  // Called on the watcher thread after each hand-over (a GUI wakes its event loop here).
  void setReadyCallback(std::function<void()> callback);

 private:
  mutable std::mutex m_mutex;
  std::condition_variable m_changed;
  std::array<std::uint8_t, 1028> m_rxBuffer{};
  int m_rxLength = 0;
  int m_rxReady = 0;
  int m_rxNoWait = 1;
  bool m_aborted = false;
  bool m_engineWake = false;
  std::function<void()> m_readyCallback;
};

}  // namespace m2
