#pragma once
// What the user interface provides to the core. The GUI implements these with dialogs and
// its event loop; the CLI and tests use the plain implementations in console_ui.h.
#include <chrono>
#include <string_view>

#include "serial/rx_mailbox.h"

namespace m2 {

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;
  // A message box with an OK button; returns its answer. detail, when not empty, is one
  // line beside the fixed text saying more (which device, and why).
  virtual int showMessage(std::string_view text, std::string_view detail = {}) = 0;
  // The start-up error dialog: the message and the question whether to quit.
  // 1 when the user chose yes (quit), else 0.
  virtual int askStartupQuit(std::string_view text, std::string_view detail = {}) = 0;
};

class BurstWaiter {
 public:
  virtual ~BurstWaiter() = default;
  // Returns once the mailbox holds a burst or the deadline has passed (it may also return
  // early; the caller checks again). A GUI keeps painting meanwhile and drops user input.
  virtual void waitForBurst(RxMailbox& mailbox, RxMailbox::Clock::time_point deadline) = 0;
};

}  // namespace m2
