#include "cli/interrupt_watcher.h"

#include "cli/cli_context.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>

namespace m2::cli {

InterruptWatcher::InterruptWatcher(LinkOwner& owner) : m_owner(owner) {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
  m_signals.reset(::signalfd(-1, &set, SFD_CLOEXEC));
  m_stop.reset(::eventfd(0, EFD_CLOEXEC));
  if (m_signals && m_stop) m_thread = std::thread([this] { run(); });
}

InterruptWatcher::~InterruptWatcher() {
  if (!m_thread.joinable()) return;
  const std::uint64_t one = 1;
  [[maybe_unused]] auto n = ::write(m_stop.get(), &one, sizeof one);
  m_thread.join();
}

void InterruptWatcher::run() {
  for (int taken = 0;;) {
    pollfd fds[2] = {{m_signals.get(), POLLIN, 0}, {m_stop.get(), POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) continue;  // EINTR
    if (fds[1].revents) return;
    signalfd_siginfo info{};
    if (::read(m_signals.get(), &info, sizeof info) != sizeof info) continue;
    if (++taken == 1) {
      std::fputs("m2ctl: interrupted; leaving the TA (Ctrl-C again stops at once)\n", stderr);
      m_owner.Interrupt();
      continue;
    }
    m_owner.link().DropExclusivity();
    std::fputs("m2ctl: stopped\n", stderr);
    ::_exit(kExitFailure);
  }
}

}  // namespace m2::cli
