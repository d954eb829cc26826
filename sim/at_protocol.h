#pragma once
// The TA in command mode on the line: command lines accumulate to CR, each is handed to
// the TaModel and its reply is written back, shaped by the fault settings.
#include <chrono>
#include <cstdio>
#include <string>

#include "pty_endpoint.h"
#include "ta_model.h"

namespace m2::sim {

struct AtFaults {
  std::chrono::milliseconds dripDelay{0};  // reply bytes written one by one with this gap
  std::chrono::milliseconds splitGap{0};   // reply written as two bursts with this gap
  long silentAfter = -1;                   // after this many commands, never answer again
};

class AtProtocol : public SimProtocol {
 public:
  AtProtocol(TaModel& ta, AtFaults faults, std::FILE* log);
  void onReceive(const std::uint8_t* data, std::size_t length, PtyEndpoint& line) override;

 private:
  void sendReply(const std::string& reply, PtyEndpoint& line);

  TaModel& m_ta;
  AtFaults m_faults;
  std::FILE* m_log;
  std::string m_line;
  long m_commands = 0;
};

}  // namespace m2::sim
