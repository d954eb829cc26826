#pragma once
// Fakes for the sender's seams: a clock that moves only when told, a link that records
// what is written, and an owner/view that records what it is told. Waits are bounded.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "update/download_sender.h"
#include "update/sender_clock.h"
#include "update/sender_link.h"
#include "update/update_progress.h"

#include "support/scratch_dir.h"

namespace m2::test {

using namespace std::chrono_literals;
inline constexpr auto kWaitLimit = 5s;  // real time; every wait in these tests is bounded

class ManualClock final : public SenderClock {
 public:
  time_point now() const override { return time_point(std::chrono::nanoseconds(m_ns.load())); }
  void waitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                 time_point deadline) override {
    setSleeper(deadline);
    cv.wait(lock);
    setSleeper(std::nullopt);
  }
  // Waits until a thread sleeps on this clock until the given deadline. Its sleep began
  // after it last looked at the sender, so from then on only a wake-up moves it.
  bool waitForSleeper(time_point deadline) {
    std::unique_lock g(m_sleepMutex);
    return m_sleepChanged.wait_for(g, kWaitLimit, [&] { return m_sleeper == deadline; });
  }
  void subscribe(ClockListener* l) override {
    std::lock_guard g(m_mutex);
    m_listeners.push_back(l);
  }
  void unsubscribe(ClockListener* l) override {
    std::lock_guard g(m_mutex);
    std::erase(m_listeners, l);
  }
  void advance(std::chrono::nanoseconds d) {
    m_ns += d.count();
    std::lock_guard g(m_mutex);
    for (auto* l : m_listeners) l->onClockAdvanced();
  }

 private:
  void setSleeper(std::optional<time_point> deadline) {
    std::lock_guard g(m_sleepMutex);
    m_sleeper = deadline;
    m_sleepChanged.notify_all();
  }

  std::atomic<std::int64_t> m_ns{1'000'000'000};
  std::mutex m_mutex;
  std::vector<ClockListener*> m_listeners;
  std::mutex m_sleepMutex;  // apart from m_mutex: taken under the sender's lock
  std::condition_variable m_sleepChanged;
  std::optional<time_point> m_sleeper;
};

using Bytes = std::vector<std::uint8_t>;

class FakeLink final : public SenderLink {
 public:
  int OpenPort(int ownerId, int, int, int, int, int) override {
    std::lock_guard g(m_mutex);
    if (failOpen) return 0;
    open = true;
    owner = ownerId;
    return 1;
  }
  void ClosePort(int ownerId) override {
    std::lock_guard g(m_mutex);
    if (open && ownerId == owner) open = false;
  }
  int Write(const void* data, std::size_t count) override {
    std::lock_guard g(m_mutex);
    if (!open || failWrites) return 0;
    auto* p = static_cast<const std::uint8_t*>(data);
    m_frames.emplace_back(p, p + count);
    return 1;
  }
  void setDataWindow(RxChunkObserver* w) override { window = w; }

  std::vector<Bytes> frames() {
    std::lock_guard g(m_mutex);
    return m_frames;
  }
  Bytes last() {
    std::lock_guard g(m_mutex);
    return m_frames.empty() ? Bytes{} : m_frames.back();
  }
  std::size_t count() {
    std::lock_guard g(m_mutex);
    return m_frames.size();
  }
  bool isOpen() {
    std::lock_guard g(m_mutex);
    return open;
  }
  void reset() {
    std::lock_guard g(m_mutex);
    m_frames.clear();
  }
  // The TA speaking: a chunk as the watcher would deliver it.
  void receive(const Bytes& bytes) {
    Bytes chunk = bytes;
    chunk.push_back(0);
    if (auto* w = window.load()) w->onRxChunk(chunk.data(), static_cast<int>(bytes.size()));
  }
  void receive(std::string_view text) { receive(Bytes(text.begin(), text.end())); }

  std::atomic<bool> failOpen{false};
  std::atomic<bool> failWrites{false};
  std::atomic<RxChunkObserver*> window{nullptr};

 private:
  std::mutex m_mutex;
  bool open = false;
  int owner = 0;
  std::vector<Bytes> m_frames;
};

struct Event {
  int event;
  int code;
  bool operator==(const Event&) const = default;
};

// Records sender events; on event 4 sets the flash-wait times as the display does.
class RecordingOwner final : public SenderOwner {
 public:
  explicit RecordingOwner(DownloadSender*& sender) : m_sender(sender) {}
  void onRxChunk(const std::uint8_t* data, int length) override {
    for (int i = 0; i < length; ++i) m_sender->Step(data[i]);
  }
  void onSenderEvent(int event, int code) override {
    if (event == kEventEotAcknowledged && setTimes)
      m_sender->SetFlashWaitTimes(UpdateProgress::kFlashWaitTime, UpdateProgress::kTickTime);
    std::lock_guard g(m_mutex);
    m_events.push_back({event, code});
    m_cv.notify_all();
  }
  std::vector<Event> events() {
    std::lock_guard g(m_mutex);
    return m_events;
  }
  // Waits until an event with this number has arrived `times` times in all.
  bool waitFor(int event, std::size_t times = 1) {
    std::unique_lock g(m_mutex);
    return m_cv.wait_for(g, kWaitLimit, [&] {
      return static_cast<std::size_t>(std::count_if(m_events.begin(), m_events.end(),
                                                    [&](const Event& e) { return e.event == event; })) >= times;
    });
  }
  std::size_t countOf(int event) {
    std::lock_guard g(m_mutex);
    return static_cast<std::size_t>(std::count_if(
        m_events.begin(), m_events.end(), [&](const Event& e) { return e.event == event; }));
  }
  bool setTimes = true;

 private:
  DownloadSender*& m_sender;
  std::mutex m_mutex;
  std::condition_variable m_cv;
  std::vector<Event> m_events;
};

class RecordingView final : public ProgressView {
 public:
  void render(const ProgressDisplay& d) override {
    std::lock_guard g(m_mutex);
    m_renders.push_back({d.state, std::string(d.message), std::string(d.percentText),
                         std::string(d.buttonText), d.percent});
    m_cv.notify_all();
  }
  void showStartFailure(std::string_view text, std::string_view) override {
    std::lock_guard g(m_mutex);
    m_startFailures.emplace_back(text);
  }
  void closeDialog() override {
    std::lock_guard g(m_mutex);
    ++m_closes;
    m_cv.notify_all();
  }
  struct Frame {
    ProgressState state;
    std::string message, percentText, button;
    int percent;
  };
  bool waitUntil(const std::function<bool(const Frame&)>& pred) {
    std::unique_lock g(m_mutex);
    return m_cv.wait_for(g, kWaitLimit, [&] { return !m_renders.empty() && pred(m_renders.back()); });
  }
  bool waitForState(ProgressState s) {
    return waitUntil([&](const Frame& f) { return f.state == s; });
  }
  std::vector<Frame> renders() {
    std::lock_guard g(m_mutex);
    return m_renders;
  }
  Frame lastFrame() {
    std::lock_guard g(m_mutex);
    return m_renders.back();
  }
  std::vector<std::string> startFailures() {
    std::lock_guard g(m_mutex);
    return m_startFailures;
  }
  int closes() {
    std::lock_guard g(m_mutex);
    return m_closes;
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_cv;
  std::vector<Frame> m_renders;
  std::vector<std::string> m_startFailures;
  int m_closes = 0;
};

// A scratch file of the given bytes, removed with the object.
class TempFile {
 public:
  explicit TempFile(const Bytes& contents, std::string name = "image.dlf")
      : m_path(m_dir.path() / name) {
    std::ofstream out(m_path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(contents.data()),
              static_cast<std::streamsize>(contents.size()));
  }
  std::string path() const { return m_path.string(); }
  std::filesystem::path dir() const { return m_dir.path(); }

 private:
  ScratchDir m_dir;
  std::filesystem::path m_path;
};

// Bytes 0, 1, 2, ... of the given length (every block differs from its neighbours).
inline Bytes Pattern(std::size_t length, unsigned seed = 7) {
  Bytes b(length);
  std::uint32_t x = seed;
  for (auto& v : b) {
    x = x * 1103515245u + 12345u;
    v = static_cast<std::uint8_t>(x >> 16);
  }
  return b;
}

}  // namespace m2::test
