#include "support/sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace m2::test {

std::string BinPath(const std::string& program) { return std::string(M2_BIN_DIR) + "/" + program; }

SimProcess::SimProcess(std::vector<std::string> extraArgs, std::string linkName)
    : m_link(m_dir.file(linkName)) {
  std::vector<std::string> args{BinPath("m2sim"), "--link", m_link, "--log", m_dir.file("cmd.log")};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  int rc = ::posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (rc != 0) {
    ::close(out[0]);
    throw std::runtime_error("cannot start m2sim");
  }
  // The simulator prints its link once the pty is ready.
  std::string seen;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (seen.find('\n') == std::string::npos) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd p{out[0], POLLIN, 0};
    if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    char buf[256];
    ssize_t n = ::read(out[0], buf, sizeof buf);
    if (n <= 0) break;
    seen.append(buf, static_cast<size_t>(n));
  }
  ::close(out[0]);
  if (seen.find("m2sim:") == std::string::npos) {
    stop();
    throw std::runtime_error("m2sim did not start: " + seen);
  }
}

SimProcess::~SimProcess() { stop(); }

void SimProcess::stop() {
  if (m_pid <= 0) return;
  ::kill(m_pid, SIGTERM);
  int status;
  ::waitpid(m_pid, &status, 0);
  m_pid = -1;
}

void SimProcess::killHard() {
  if (m_pid <= 0) return;
  ::kill(m_pid, SIGKILL);
  int status;
  ::waitpid(m_pid, &status, 0);
  m_pid = -1;
}

std::vector<std::string> SimProcess::commandLog() const {
  std::vector<std::string> lines;
  std::ifstream in(m_dir.file("cmd.log"));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool SimProcess::waitForCommands(std::size_t n, std::chrono::milliseconds timeout) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (commandLog().size() < n) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

std::chrono::microseconds ProcessCpuTime() {
  rusage ru{};
  ::getrusage(RUSAGE_SELF, &ru);
  auto us = [](const timeval& tv) { return std::chrono::seconds(tv.tv_sec) + std::chrono::microseconds(tv.tv_usec); };
  return std::chrono::duration_cast<std::chrono::microseconds>(us(ru.ru_utime) + us(ru.ru_stime));
}

}  // namespace m2::test
