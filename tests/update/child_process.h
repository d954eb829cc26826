#pragma once
// A program of ours (or a peer) run in the background for a test: its stderr is collected,
// a test can wait for a text to appear in it, signal it, and wait for its end. Every wait
// is bounded; a child still running when the object goes is killed.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace m2::test {

class ChildProcess {
 public:
  ChildProcess(const std::vector<std::string>& argv, const std::string& workDir) {
    int err[2];
    if (::pipe2(err, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    m_pid = ::fork();
    if (m_pid < 0) throw std::runtime_error("fork");
    if (m_pid == 0) {
      ::dup2(err[1], STDERR_FILENO);
      int devnull = ::open("/dev/null", O_RDWR);
      ::dup2(devnull, STDIN_FILENO);
      ::dup2(devnull, STDOUT_FILENO);
      if (::chdir(workDir.c_str()) != 0) ::_exit(127);
      std::vector<char*> args;
      for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
      args.push_back(nullptr);
      ::execvp(args[0], args.data());
      ::_exit(127);
    }
    ::close(err[1]);
    m_err = err[0];
  }
  ~ChildProcess() {
    if (m_pid > 0) {
      ::kill(m_pid, SIGKILL);
      ::waitpid(m_pid, nullptr, 0);
    }
    if (m_err >= 0) ::close(m_err);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // True once stderr holds text; false at the deadline or when stderr closed without it.
  bool waitForText(const std::string& text, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (m_stderr.find(text) == std::string::npos) {
      if (!readSome(deadline)) return m_stderr.find(text) != std::string::npos;
    }
    return true;
  }
  // The exit status, or -1 when it did not end in time (it is killed then).
  int wait(std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (readSome(deadline)) {
    }
    if (m_err >= 0) {  // stderr still open at the deadline
      ::kill(m_pid, SIGKILL);
    }
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    const bool ended = m_err < 0 && WIFEXITED(status);
    m_pid = -1;
    return ended ? WEXITSTATUS(status) : -1;
  }
  void signal(int signo) { ::kill(m_pid, signo); }
  const std::string& err() const { return m_stderr; }

 private:
  // False at the deadline or at the end of stderr.
  bool readSome(std::chrono::steady_clock::time_point deadline) {
    if (m_err < 0) return false;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd p{m_err, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
    char buf[4096];
    ssize_t n = ::read(m_err, buf, sizeof buf);
    if (n <= 0) {
      ::close(m_err);
      m_err = -1;
      return false;
    }
    m_stderr.append(buf, static_cast<std::size_t>(n));
    return true;
  }

  pid_t m_pid = -1;
  int m_err = -1;
  std::string m_stderr;
};

// Waits, bounded, until a path exists (a peer that makes a link gives no other sign).
inline bool WaitForPath(const std::filesystem::path& path,
                        std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!std::filesystem::exists(std::filesystem::symlink_status(path))) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace m2::test
