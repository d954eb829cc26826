// DownloadSender: the four timers as deadlines on the clock, and the worker that sleeps
// until the earliest of them or until a step leaves work for it.
#include "update/download_sender.h"

#include "update/xmdm_thread.h"

namespace m2 {

void DownloadSender::WorkerLoop(CXMdmThread& self) {
  std::unique_lock lock(m_mutex);
  while (!self.stopRequested()) {
    m_workerWake = false;
    expireTimersLocked();
    const bool active = m_stepMode == 1 && !m_stopping && m_machine.state != State::Idle &&
                        m_machine.state != State::Stopped;
    if (active) {
      const Machine before = m_machine;
      Notifications out;
      stepLocked(0, out);
      if (out.count > 0) {
        lock.unlock();
        deliver(out);
        lock.lock();
        continue;
      }
      if (!(before == m_machine)) continue;
    }
    const time_point deadline = earliestDeadlineLocked();
    m_workerSleeping = true;
    m_workerDeadline = deadline;
    while (!m_workerWake && !self.stopRequested() && m_clock.now() < deadline)
      m_clock.waitUntil(m_cv, lock, deadline);
    m_workerSleeping = false;
  }
}

void DownloadSender::onClockAdvanced() {
  std::lock_guard lock(m_mutex);
  wakeWorkerLocked(true);
}

int DownloadSender::startTimer(int id, Milliseconds time) {
  Machine& m = m_machine;
  if (id == kTickTimer)
    m.tickRunning = true;
  else
    m.timeoutFlag = false;
  if (time.count() == 0 || !m_owner) return kNoTimer;
  m.deadlines[static_cast<std::size_t>(id)] = m_clock.now() + time;
  return id;
}

void DownloadSender::killTimer(int id) { m_machine.deadlines[static_cast<std::size_t>(id)].reset(); }

void DownloadSender::expireTimersLocked() {
  Machine& m = m_machine;
  const time_point now = m_clock.now();
  for (int id = kStartTimer; id <= kTickTimer; ++id) {
    auto& deadline = m.deadlines[static_cast<std::size_t>(id)];
    if (!deadline || *deadline > now) continue;
    deadline.reset();
    if (id == kTickTimer)
      m.tickRunning = false;
    else
      m.timeoutFlag = true;
  }
}

DownloadSender::time_point DownloadSender::earliestDeadlineLocked() const {
  time_point earliest = time_point::max();
  for (const auto& deadline : m_machine.deadlines)
    if (deadline && *deadline < earliest) earliest = *deadline;
  return earliest;
}

// Whether a step with no byte would change anything now. Another thread's step wakes the
// sleeping worker only then, or when a timer now ends earlier than the worker's sleep.
bool DownloadSender::needsNoByteStepLocked() const {
  const Machine& m = m_machine;
  if (m_stepMode != 1) return false;
  switch (m.state) {
    case State::Idle:
    case State::Stopped:
      return false;
    case State::TransferFailed:
      return m.errorReady || m.timeoutFlag;
    case State::AwaitStart:
    case State::FirstBlockSent:
    case State::BlockSent:
      return m.timeoutFlag;
    case State::EotSent:
      return m.timeoutFlag || m.eotAcknowledged;
    case State::CancelRequested:
      return m.timeoutFlag || m.cancelStep == 2;
    case State::CancelledByReceiver:
      return m.timeoutFlag || m.receiverCancelled;
    case State::TransferDone:
      return m.timeoutFlag || (m.flashWaitTimerId == 0 && m.flashWaitTime.count() != 0) ||
             !m.tickRunning || (m.tickTimerId == 0 && m.tickTime.count() != 0);
  }
  return false;
}

void DownloadSender::wakeWorkerLocked(bool always) {
  if (!m_workerSleeping) return;  // a running worker looks again before it sleeps
  if (always || needsNoByteStepLocked() || earliestDeadlineLocked() < m_workerDeadline) {
    m_workerWake = true;
    m_cv.notify_all();
  }
}

}  // namespace m2
