#pragma once
// Runs m2sim for a test: a private scratch directory, the link COM1 in it, a command log,
// and the process stopped (and the link gone) when the object goes.
#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/scratch_dir.h"

namespace m2::test {

class SimProcess {
 public:
  // Starts m2sim with --link <dir>/COM1 --log <dir>/cmd.log and the extra arguments, and
  // returns once the simulator has announced its link.
  explicit SimProcess(std::vector<std::string> extraArgs = {}, std::string linkName = "COM1");
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  const std::string& linkPath() const { return m_link; }
  std::string dir() const { return m_dir.path().string(); }
  std::string file(const std::string& name) const { return m_dir.file(name); }
  pid_t pid() const { return m_pid; }

  std::vector<std::string> commandLog() const;
  // Waits until the log holds at least n lines; false at the deadline.
  bool waitForCommands(std::size_t n, std::chrono::milliseconds timeout) const;
  void killHard();  // SIGKILL, as a vanished device
  void stop();      // SIGTERM and wait

 private:
  ScratchDir m_dir;
  std::string m_link;
  pid_t m_pid = -1;
};

std::string BinPath(const std::string& program);

// CPU time (user + system) this process has used so far.
std::chrono::microseconds ProcessCpuTime();

}  // namespace m2::test
