#pragma once
// TerminalFeed: how received bytes reach the simple terminal. The serial link calls onChar on
// its watcher thread (and, for the trace of a failed write, on the thread that writes). The
// feed only appends the byte to a queue and, when the queue was empty, posts one drain to the
// edit's own thread: it never waits for that thread, which may itself be closing the port and
// joining the watcher.
//
// The feed outlives every watcher of its link, so the link may call it at any moment; the
// edit is attached and detached under the feed's lock, and a drain posted to an edit that is
// gone is discarded with it.
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>

#include "serial/serial_link.h"

namespace m2::setup {

class TerminalEdit;

class TerminalFeed final : public TerminalOutput {
 public:
  void onChar(std::uint8_t byte) override;

  // On the edit's thread. Bytes queued for an earlier edit are dropped.
  void attach(TerminalEdit* edit);
  void detach();
  // The bytes queued for this edit, in order; empty when it is no longer attached.
  std::string take(const TerminalEdit* edit);

 private:
  std::mutex m_mutex;
  TerminalEdit* m_edit = nullptr;
  std::string m_pending;
};

}  // namespace m2::setup
