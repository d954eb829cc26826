#include "at_protocol.h"

#include <thread>

namespace m2::sim {

AtProtocol::AtProtocol(TaModel& ta, AtFaults faults, std::FILE* log)
    : m_ta(ta), m_faults(faults), m_log(log) {}

void AtProtocol::onReceive(const std::uint8_t* data, std::size_t length, PtyEndpoint& line) {
  for (std::size_t i = 0; i < length; ++i) {
    const char c = static_cast<char>(data[i]);
    if (c == '\n') continue;
    if (c != '\r') {
      if (m_line.size() < 4096) m_line += c;
      continue;
    }
    std::string command = std::move(m_line);
    m_line.clear();
    if (m_log) {
      std::fprintf(m_log, "%s\n", command.c_str());
      std::fflush(m_log);
    }
    ++m_commands;
    std::string reply = m_ta.handleLine(command);
    if (m_faults.silentAfter >= 0 && m_commands > m_faults.silentAfter) continue;
    sendReply(reply, line);
  }
}

// The gaps are the TA's own pacing, so the simulator may simply pause between writes.
void AtProtocol::sendReply(const std::string& reply, PtyEndpoint& line) {
  if (reply.empty()) return;
  if (m_faults.dripDelay.count() > 0) {
    for (std::size_t i = 0; i < reply.size(); ++i) {
      if (i) std::this_thread::sleep_for(m_faults.dripDelay);
      line.write(std::string_view(reply).substr(i, 1));
    }
    return;
  }
  if (m_faults.splitGap.count() > 0 && reply.size() > 1) {
    const std::size_t half = reply.size() / 2;
    line.write(std::string_view(reply).substr(0, half));
    std::this_thread::sleep_for(m_faults.splitGap);
    line.write(std::string_view(reply).substr(half));
    return;
  }
  line.write(reply);
}

}  // namespace m2::sim
