#pragma once
// Plain implementations of the user-interface ports for the CLI and tests.
#include <cstdio>
#include <string>
#include <vector>

#include "serial/ui_ports.h"

namespace m2 {

// Messages go to a stream (stderr by default), each detail on a line of its own, and are
// remembered; the start-up question gets a fixed answer.
class ConsoleDialogs : public UserDialogs {
 public:
  explicit ConsoleDialogs(std::FILE* out = stderr, int startupAnswer = 1)
      : m_out(out), m_startupAnswer(startupAnswer) {}
  int showMessage(std::string_view text, std::string_view detail = {}) override;
  int askStartupQuit(std::string_view text, std::string_view detail = {}) override;

  const std::vector<std::string>& messages() const { return m_messages; }
  // The detail of every message and question, in order (empty when there was none).
  const std::vector<std::string>& details() const { return m_details; }
  const std::vector<std::string>& startupQuestions() const { return m_questions; }
  void clear() {
    m_messages.clear();
    m_questions.clear();
    m_details.clear();
  }
  void setStartupAnswer(int answer) { m_startupAnswer = answer; }

 private:
  std::FILE* m_out;
  int m_startupAnswer;
  std::vector<std::string> m_messages;
  std::vector<std::string> m_questions;
  std::vector<std::string> m_details;
  void print(std::string_view text, std::string_view detail);
};

class BlockingBurstWaiter : public BurstWaiter {
 public:
  void waitForBurst(RxMailbox& mailbox, RxMailbox::Clock::time_point deadline) override {
    mailbox.waitReadyUntil(deadline);
  }
};

}  // namespace m2
