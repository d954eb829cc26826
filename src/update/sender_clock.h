#pragma once
// The time base of the sender's timers. Timers are deadlines on this clock; the worker
// sleeps on a condition variable until the earliest one. The real clock runs by itself; a
// test clock only moves when told and then wakes the sleepers it knows about, so the 20 s,
// 10 s, 90 s and 1.2 s cases run in microseconds.
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace m2 {

class ClockListener {
 public:
  virtual ~ClockListener() = default;
  virtual void onClockAdvanced() = 0;  // called without any lock of the listener held
};

class SenderClock {
 public:
  using time_point = std::chrono::steady_clock::time_point;
  virtual ~SenderClock() = default;

  virtual time_point now() const = 0;  // thread-safe, takes no lock
  // Sleeps until cv is notified or, for a clock that runs by itself, deadline has come.
  // May return early; the caller checks again.
  virtual void waitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                         time_point deadline) = 0;
  virtual void subscribe(ClockListener*) {}
  virtual void unsubscribe(ClockListener*) {}
};

class SteadySenderClock final : public SenderClock {
 public:
  time_point now() const override { return std::chrono::steady_clock::now(); }
  void waitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                 time_point deadline) override {
    if (deadline == time_point::max())
      cv.wait(lock);
    else
      cv.wait_until(lock, deadline);
  }
};

}  // namespace m2
