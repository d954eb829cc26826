#include "ui_common/gui_burst_waiter.h"

#include <QEventLoop>
#include <QTimer>
#include <chrono>

#include "ui_common/input_blocker.h"

namespace m2::ui {

namespace {
// Clears the mailbox's callback on every way out of the wait.
class ReadyCallbackScope {
 public:
  ReadyCallbackScope(RxMailbox& mailbox, std::function<void()> callback) : m_mailbox(mailbox) {
    m_mailbox.setReadyCallback(std::move(callback));
  }
  ~ReadyCallbackScope() { m_mailbox.setReadyCallback({}); }
  ReadyCallbackScope(const ReadyCallbackScope&) = delete;
  ReadyCallbackScope& operator=(const ReadyCallbackScope&) = delete;

 private:
  RxMailbox& m_mailbox;
};
}  // namespace

void GuiBurstWaiter::wake() {
  if (m_loop) m_loop->quit();
}

void GuiBurstWaiter::waitForBurst(RxMailbox& mailbox, RxMailbox::Clock::time_point deadline) {
  using namespace std::chrono;
  // Called on the watcher thread: only posts; the wake-up runs on this object's thread.
  ReadyCallbackScope scope(mailbox, [this] {
    QMetaObject::invokeMethod(this, [this] { wake(); }, Qt::QueuedConnection);
  });
  // A burst handed over before the callback was in place would post nothing.
  if (mailbox.ready()) return;
  const auto remaining = ceil<milliseconds>(deadline - RxMailbox::Clock::now());
  if (remaining.count() <= 0) return;

  InputBlocker blocker;
  QEventLoop loop;
  QTimer deadlineTimer;
  deadlineTimer.setSingleShot(true);
  deadlineTimer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&deadlineTimer, &QTimer::timeout, &loop, &QEventLoop::quit);
  deadlineTimer.start(static_cast<int>(remaining.count()));

  QEventLoop* outer = m_loop;
  m_loop = &loop;
  loop.exec();
  m_loop = outer;
}

}  // namespace m2::ui
