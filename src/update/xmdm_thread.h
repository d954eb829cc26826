#pragma once
// CXMdmThread: the worker that steps a DownloadSender with no byte. It sleeps while the
// sender has nothing to do (see download_sender.h); Stop sets the stop flag under the
// sender's lock, wakes it and joins it.
#include <atomic>
#include <thread>

namespace m2 {

class DownloadSender;

class CXMdmThread {
 public:
  explicit CXMdmThread(DownloadSender* sender) : m_sender(sender) {}
  ~CXMdmThread() { Join(); }
  CXMdmThread(const CXMdmThread&) = delete;
  CXMdmThread& operator=(const CXMdmThread&) = delete;

  bool Start();  // false if the thread cannot be created
  void RequestStop() { m_stop = true; }
  bool stopRequested() const { return m_stop; }
  void Join() {
    if (m_thread.joinable()) m_thread.join();
  }
  int exitCode() const { return m_exitCode; }  // after Join: 0, or -1 without a sender

 private:
  void Run();

  DownloadSender* m_sender;
  std::atomic<bool> m_stop{false};
  std::atomic<int> m_exitCode{0};
  std::jthread m_thread;
};

}  // namespace m2
