#pragma once
// Ctrl-C and SIGTERM while an m2ctl command talks to the TA. The first interrupts the link
// owner: the command stops at its current transaction and leaves the TA as it always does
// (result-code modes given back, bounded by the silence time; port closed, lock removed). A
// second ends the program at once, with the port's exclusive mode and lock file cleared.
//
// Both signals are blocked from construction on and read from a signalfd on a thread of
// its own; construct it before any other thread starts, so that every thread inherits the
// blocked mask. They stay blocked after destruction: the program is ending then.
#include <signal.h>

#include <thread>

#include "serial/link_owner.h"
#include "serial/unique_fd.h"

namespace m2::cli {

class InterruptWatcher {
 public:
  explicit InterruptWatcher(LinkOwner& owner);
  ~InterruptWatcher();
  InterruptWatcher(const InterruptWatcher&) = delete;
  InterruptWatcher& operator=(const InterruptWatcher&) = delete;

 private:
  void run();

  LinkOwner& m_owner;
  UniqueFd m_signals;
  UniqueFd m_stop;  // eventfd: the destructor wakes the thread with it
  std::thread m_thread;
};

}  // namespace m2::cli
