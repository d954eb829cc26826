#pragma once
// The GUI's wait for the next burst from the TA: a nested event loop on the user-interface
// thread that ends when the watcher hands a burst to the mailbox (its ready callback posts
// the wake-up) or when the deadline passes. Paint and timer events keep flowing; user input
// is dropped meanwhile (InputBlocker). No polling: the loop sleeps until an event arrives.
//
// The waiter must outlive the link whose mailbox it waits on: a wake-up posted by the
// watcher refers to it.
#include <QObject>

#include "serial/ui_ports.h"

class QEventLoop;

namespace m2::ui {

class GuiBurstWaiter final : public QObject, public BurstWaiter {
 public:
  void waitForBurst(RxMailbox& mailbox, RxMailbox::Clock::time_point deadline) override;
  // Ends the wait in progress early (the caller checks again); from the GUI thread.
  void wake();

 private:

  QEventLoop* m_loop = nullptr;
};

}  // namespace m2::ui
