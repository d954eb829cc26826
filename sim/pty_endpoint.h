#pragma once
// The simulator's end of the line: a pseudo-terminal master whose slave is reachable under
// a symlink (e.g. ./COM1). The simulator keeps a slave descriptor of its own open, so the
// master never sees a hang-up between client connections. Output is never flushed and the
// simulator never exits right after its last reply: a pty discards what the peer has not
// read yet.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "serial/unique_fd.h"

namespace m2::sim {

class PtyEndpoint {
 public:
  // Makes the pty and the link; throws std::runtime_error on failure.
  explicit PtyEndpoint(std::string linkPath);
  ~PtyEndpoint();
  PtyEndpoint(const PtyEndpoint&) = delete;
  PtyEndpoint& operator=(const PtyEndpoint&) = delete;

  int masterFd() const { return m_master.get(); }
  const std::string& slaveName() const { return m_slaveName; }

  // Writes everything, waiting for room as needed. False if the pty is gone.
  bool write(std::string_view bytes);

 private:
  std::string m_linkPath;
  std::string m_slaveName;
  UniqueFd m_master;
  UniqueFd m_slaveHold;
};

// Something the simulator speaks on the line.
class SimProtocol {
 public:
  using Clock = std::chrono::steady_clock;
  virtual ~SimProtocol() = default;
  virtual void onReceive(const std::uint8_t* data, std::size_t length, PtyEndpoint& line) = 0;
  // Called after every wake-up; returns when it next wants to be called without input.
  virtual std::optional<Clock::time_point> onTick(Clock::time_point now, PtyEndpoint& line) {
    (void)now;
    (void)line;
    return std::nullopt;
  }
};

// Serves the protocol until SIGTERM or SIGINT. Returns the process exit code.
int RunSimulator(PtyEndpoint& line, SimProtocol& protocol);

}  // namespace m2::sim
