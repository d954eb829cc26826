#include "ui_common/termination_signals.h"

#include <signal.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QSocketNotifier>
#include <QWidget>
#include <array>
#include <cerrno>
#include <cstdint>

namespace m2::ui {

namespace {

constexpr std::array kSignals{SIGTERM, SIGHUP, SIGINT};

volatile sig_atomic_t g_fd = -1;
volatile sig_atomic_t g_lastSignal = 0;

extern "C" void OnSignal(int number) {
  const int savedErrno = errno;
  g_lastSignal = number;
  const std::uint64_t one = 1;
  if (g_fd >= 0) {
    [[maybe_unused]] const auto n = ::write(g_fd, &one, sizeof one);
  }
  errno = savedErrno;
}

void Install(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int number : kSignals) ::sigaction(number, &action, nullptr);
}

bool IsOtherDialog(const QWidget* widget, const QWidget* mainWindow) {
  const auto* dialog = qobject_cast<const QDialog*>(widget);
  return dialog && dialog != mainWindow && dialog->isWindow() && dialog->isVisible();
}

}  // namespace

TerminationSignals::TerminationSignals(QWidget* mainWindow, std::function<void()> leave,
                                       std::function<void()> abandon)
    : m_mainWindow(mainWindow), m_leave(std::move(leave)), m_abandon(std::move(abandon)) {
  m_fd.reset(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!m_fd) return;  // the signals keep their default action
  m_notifier = std::make_unique<QSocketNotifier>(m_fd.get(), QSocketNotifier::Read);
  connect(m_notifier.get(), &QSocketNotifier::activated, this, &TerminationSignals::readSignals);
  g_fd = m_fd.get();
  Install(OnSignal);
}

TerminationSignals::~TerminationSignals() {
  if (!m_fd) return;
  Install(SIG_DFL);
  g_fd = -1;
  m_notifier.reset();  // before the descriptor it watches closes
}

int TerminationSignals::exitCode() const { return m_received > 0 ? 128 + g_lastSignal : 0; }

void TerminationSignals::readSignals() {
  std::uint64_t count = 0;
  if (::read(m_fd.get(), &count, sizeof count) != sizeof count) return;
  const bool first = m_received == 0;
  m_received += count;
  if (m_received >= 2) {
    m_abandon();
    ::_exit(exitCode());
  }
  if (!first) return;
  qApp->installEventFilter(this);
  closeDialogs();
  m_leave();
}

void TerminationSignals::closeDialogs() {
  QList<const QWidget*> closed;
  while (QWidget* popup = QApplication::activePopupWidget()) {
    if (closed.contains(popup)) break;
    closed << popup;
    popup->close();
  }
  // Innermost first: each reject ends the nested event loop of its dialog.
  while (QWidget* modal = QApplication::activeModalWidget()) {
    if (!IsOtherDialog(modal, m_mainWindow) || closed.contains(modal)) break;
    closed << modal;
    static_cast<QDialog*>(modal)->reject();
  }
}

bool TerminationSignals::eventFilter(QObject* watched, QEvent* event) {
  // A dialog opened while the program leaves (a message of the leaving itself) goes at once.
  if (event->type() == QEvent::Show && watched->isWidgetType() &&
      IsOtherDialog(static_cast<QWidget*>(watched), m_mainWindow)) {
    QMetaObject::invokeMethod(watched, "reject", Qt::QueuedConnection);
  }
  return false;
}

}  // namespace m2::ui
