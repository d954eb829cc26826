// update: sends a download file to the TA in its download mode and waits for its verdict,
// as M2Update's progress dialog does. Progress goes to stderr. Ctrl-C is the dialog's
// abort button ("中止": cancel with CAN while sending), a second Ctrl-C is Esc (stop at
// once); SIGTERM is Esc too. The main thread sleeps in poll() on a signalfd and an eventfd
// that the display pokes when the update reaches an outcome.
#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "cli/commands.h"
#include "serial/unique_fd.h"
#include "update/download_sender.h"
#include "update/sender_clock.h"
#include "update/sender_link.h"
#include "update/update_progress.h"

namespace m2::cli {
namespace {

constexpr PortSettings kUpdateDefaults{0, 6, 0};  // COM1, 115200, 8N1
constexpr int kBarWidth = 30;

// Draws the progress on stderr: one redrawn line on a terminal, else a line per message.
class ConsoleProgressView final : public ProgressView {
 public:
  explicit ConsoleProgressView(int wakeFd) : m_wakeFd(wakeFd), m_tty(::isatty(STDERR_FILENO) == 1) {}

  void render(const ProgressDisplay& d) override {
    std::lock_guard lock(m_mutex);
    if (m_tty) {
      std::string bar(static_cast<std::size_t>(d.percent * kBarWidth / 100), '#');
      bar.resize(kBarWidth, '-');
      std::fprintf(stderr, "\r[%s] %3d%% %.*s\x1b[K", bar.c_str(), d.percent,
                   static_cast<int>(d.message.size()), d.message.data());
      m_lineOpen = true;
    } else if (d.message != m_lastMessage) {
      std::fprintf(stderr, "%3d%% %.*s\n", d.percent, static_cast<int>(d.message.size()),
                   d.message.data());
    }
    std::fflush(stderr);
    m_lastMessage.assign(d.message);
    // The main thread looks only at the state: a percent step alone need not wake it.
    if (d.state != m_lastState) poke();
    m_lastState = d.state;
  }
  void showStartFailure(std::string_view text, std::string_view detail) override {
    std::lock_guard lock(m_mutex);
    endLine();
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    if (!detail.empty())
      std::fprintf(stderr, "%.*s\n", static_cast<int>(detail.size()), detail.data());
  }
  void closeDialog() override {
    std::lock_guard lock(m_mutex);
    endLine();
    poke();
  }
  // A final line, unless the per-message log has just shown it.
  void note(std::string_view text) {
    std::lock_guard lock(m_mutex);
    if (!m_tty && m_lastMessage == text) return;
    endLine();
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  }

 private:
  void endLine() {
    if (m_lineOpen) std::fputc('\n', stderr);
    m_lineOpen = false;
  }
  void poke() {
    const std::uint64_t one = 1;
    [[maybe_unused]] auto n = ::write(m_wakeFd, &one, sizeof one);
  }

  std::mutex m_mutex;
  int m_wakeFd;
  bool m_tty;
  bool m_lineOpen = false;
  std::string m_lastMessage;
  ProgressState m_lastState = ProgressState::Starting;
};

// Blocks SIGINT and SIGTERM for this thread and every thread started after it, and
// receives them through a signalfd; the old mask comes back on destruction.
class BlockedSignals {
 public:
  BlockedSignals() {
    sigemptyset(&m_set);
    sigaddset(&m_set, SIGINT);
    sigaddset(&m_set, SIGTERM);
    ::pthread_sigmask(SIG_BLOCK, &m_set, &m_old);
    m_fd.reset(::signalfd(-1, &m_set, SFD_CLOEXEC | SFD_NONBLOCK));
  }
  ~BlockedSignals() { ::pthread_sigmask(SIG_SETMASK, &m_old, nullptr); }
  int fd() const { return m_fd.get(); }
  // The signal taken, or 0.
  int take() {
    signalfd_siginfo info{};
    return ::read(m_fd.get(), &info, sizeof info) == sizeof info ? static_cast<int>(info.ssi_signo) : 0;
  }

 private:
  sigset_t m_set{}, m_old{};
  UniqueFd m_fd;
};

bool IsOutcome(ProgressState s) {
  return s == ProgressState::Done || s == ProgressState::Aborted ||
         s == ProgressState::RefusedByTa || s == ProgressState::Error;
}

int Finish(ConsoleProgressView& view, ProgressState outcome, const std::string& message) {
  view.note(message);
  return outcome == ProgressState::Done ? kExitOk : kExitFailure;
}

int RunUpdate(const CliContext& ctx, const std::string& path, bool noVerdict) {
  BlockedSignals signals;  // before the first thread
  UniqueFd wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (signals.fd() < 0 || !wake) return kExitFailure;

  const PortSettings ps = ctx.portSettings(kUpdateDefaults);
  SerialSenderLink link;
  if (!ctx.device.empty()) link.setDeviceOverride(ctx.device);
  SteadySenderClock clock;
  DownloadSender sender(link, clock);
  ConsoleProgressView view(wake.get());
  UpdateProgress progress(sender, view);
  // Start never blocks (the file and the port are opened without waiting); a signal that
  // came meanwhile waits in the signalfd and is taken by the first poll.
  if (!progress.Start({path, ps.portIndex, ps.speedIndex, ps.formatIndex})) return kExitFailure;

  int interrupts = 0;
  for (;;) {
    pollfd fds[2] = {{signals.fd(), POLLIN, 0}, {wake.get(), POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) continue;  // EINTR
    if (fds[1].revents) {
      std::uint64_t count;
      [[maybe_unused]] auto n = ::read(wake.get(), &count, sizeof count);
    }
    if (fds[0].revents) {
      const int signo = signals.take();
      if (signo != 0) {
        const bool button = signo == SIGINT && ++interrupts == 1;
        const ProgressState left = button ? progress.PressButton() : progress.PressEscape();
        // The outcome came first: the signal only closed the dialog.
        if (IsOutcome(left)) return Finish(view, left, progress.message());
        if (button) {
          view.note("m2ctl: aborting (Ctrl-C again stops at once)");
        } else {
          // Once the TA has the whole file it writes its flash ROM, whatever was shown.
          const bool flashing = left == ProgressState::WritingFlash || sender.eotAcknowledged();
          view.note(UpdateMessageText(flashing ? kCodeFlashWaitAbort : kCodeUserAbort));
          return kExitFailure;
        }
      }
    }
    const ProgressState state = progress.state();
    if (noVerdict && state == ProgressState::WritingFlash) {
      progress.PressEscape();
      view.note("EOT acknowledged; no verdict awaited (--no-verdict)");
      return kExitOk;
    }
    if (IsOutcome(state)) {
      progress.PressButton();
      return Finish(view, state, progress.message());
    }
  }
}

}  // namespace

void RegisterUpdateCommand(CLI::App& app, CliContext& ctx) {
  auto* update = app.add_subcommand(
      "update", "send a download file (*.dlf) to the TA in its download mode by XMODEM-1K and "
                "wait for its flash-write verdict (defaults: COM1, 115200, 8N1, RTS/CTS)");
  struct UpdateArgs {
    std::string path;
    bool noVerdict = false;
  };
  auto args = std::make_shared<UpdateArgs>();
  update->add_option("FILE", args->path, "the download file")->required();
  update->add_flag("--no-verdict", args->noVerdict,
                   "succeed once EOT is acknowledged (for plain XMODEM receivers)");
  update->callback([&ctx, args] { ctx.exitCode = RunUpdate(ctx, args->path, args->noVerdict); });
}

}  // namespace m2::cli
