#include "update/download_sender.h"

#include <string>

#include "update/update_messages.h"
#include "update/xmdm_thread.h"

namespace m2 {
namespace {

constexpr std::array<std::string_view, 10> kStateNames{
    "Idle",      "AwaitStart",          "FirstBlockSent", "BlockSent",    "EotSent",
    "CancelRequested", "CancelledByReceiver", "TransferFailed", "TransferDone", "Stopped"};
static_assert(kStateNames.size() == static_cast<std::size_t>(DownloadSender::State::Stopped) + 1);

bool IsData(std::uint8_t kind) { return kind == xmodem::SOH || kind == xmodem::STX; }
bool IsControl(std::uint8_t kind) {
  using namespace xmodem;
  return kind == EOT || kind == ACK || kind == NAK || kind == CAN || kind == C;
}

}  // namespace

std::string_view DownloadSender::StateName(State state) {
  return kStateNames[static_cast<std::size_t>(state)];
}

DownloadSender::DownloadSender(SenderLink& link, SenderClock& clock)
    : m_link(link), m_clock(clock) {
  m_clock.subscribe(this);
}

DownloadSender::~DownloadSender() {
  Stop();
  m_clock.unsubscribe(this);
}

void DownloadSender::setTrace(std::function<void(std::string_view)> trace) {
  std::lock_guard lock(m_mutex);
  m_trace = std::move(trace);
}

bool DownloadSender::LaunchWorker() {
  auto worker = std::make_unique<CXMdmThread>(this);
  if (!worker->Start()) return false;
  m_worker = std::move(worker);
  return true;
}

// ---- start and stop

int DownloadSender::StartUpdate(int stepMode, const UpdateRequest& request, SenderOwner* owner) {
  if (m_worker) Stop();
  {
    std::lock_guard lock(m_mutex);
    setStateLocked(State::Idle);
    if (const int code = m_file.Open(request.path)) return code;
  }
  if (!LaunchWorker()) return kCodeWorker;
  {
    std::lock_guard lock(m_mutex);
    m_stepMode = stepMode;
  }
  // Attached before opening: a start character arriving at once must not be lost.
  m_link.setDataWindow(owner);
  if (m_link.OpenPort(kOwnerId, 1, 0, request.portIndex, request.speedIndex,
                      request.formatIndex) != 1) {
    m_link.setDataWindow(nullptr);
    return kCodePortOpen;
  }
  std::lock_guard lock(m_mutex);
  m_owner = owner;
  initTransferLocked();
  wakeWorkerLocked(true);
  return 0;
}

std::string DownloadSender::StartFailureDetail(int code) const {
  switch (code) {
    case kCodeFileNotFound:
    case kCodeFileOpen: {
      std::lock_guard lock(m_mutex);
      return m_file.failureDetail();
    }
    case kCodePortOpen: return m_link.openFailureDetail();
    default: return {};
  }
}

void DownloadSender::Stop() {
  {
    std::lock_guard lock(m_mutex);
    m_stopping = true;
    if (m_worker) m_worker->RequestStop();
    m_cv.notify_all();
  }
  if (m_worker) {
    m_worker->Join();
    m_worker.reset();
  }
  // No lock here: the watcher may be inside a chunk, stepping (which now does nothing).
  m_link.setDataWindow(nullptr);
  m_link.ClosePort(kOwnerId);
  std::lock_guard lock(m_mutex);
  m_file.Close();
  m_owner = nullptr;
  m_machine.deadlines = {};  // the timers die with their owner
  setStateLocked(State::Idle);
  m_stepMode = 0;
  m_stopping = false;
}

void DownloadSender::initTransferLocked() {
  Machine& m = m_machine;
  m.eotAcknowledged = false;
  m.cancelStep = 0;
  m.receiverCancelled = false;
  m.errorReady = false;
  m.errorCode = 0;
  m.blockCounter = 0;
  m.startReplyTimerId = m.flashWaitTimerId = m.tickTimerId = 0;
  m.flashWaitTime = m.tickTime = Milliseconds{0};
  m.acceptedStart = 3;
  m.blockType = BlockType::Stx1024;
  m.blockCount = m_file.blockCount();
  setStateLocked(State::AwaitStart);
  m.startReplyTimerId = startTimer(kStartTimer, kStartTime);
}

// ---- fields written by the display

DownloadSender::CancelOutcome DownloadSender::RequestCancel() {
  std::lock_guard lock(m_mutex);
  switch (m_machine.state) {
    case State::EotSent:
      // Once the TA has acknowledged EOT it writes its flash ROM and answers nothing, so
      // a cancellation waiting for its next reply would wait for ever.
      if (m_machine.eotAcknowledged) return CancelOutcome::TransferOver;
      [[fallthrough]];
    case State::AwaitStart:
    case State::FirstBlockSent:
    case State::BlockSent:
      setStateLocked(State::CancelRequested);
      wakeWorkerLocked(true);
      return CancelOutcome::Requested;
    case State::TransferDone:
      return CancelOutcome::TransferOver;
    case State::Idle:
    case State::CancelRequested:
    case State::CancelledByReceiver:
    case State::TransferFailed:
    case State::Stopped:
      return CancelOutcome::AlreadyEnding;
  }
  return CancelOutcome::AlreadyEnding;
}

void DownloadSender::StopWaiting() {
  std::lock_guard lock(m_mutex);
  setStateLocked(State::Stopped);
}

void DownloadSender::SetFlashWaitTimes(Milliseconds flashWait, Milliseconds tick) {
  std::lock_guard lock(m_mutex);
  m_machine.flashWaitTime = flashWait;
  m_machine.tickTime = tick;
  wakeWorkerLocked(true);
}

// ---- queries

DownloadSender::State DownloadSender::state() const {
  std::lock_guard lock(m_mutex);
  return m_machine.state;
}
bool DownloadSender::eotAcknowledged() const {
  std::lock_guard lock(m_mutex);
  return m_machine.eotAcknowledged;
}
std::uint64_t DownloadSender::blockCount() const {
  std::lock_guard lock(m_mutex);
  return m_machine.blockCount;
}
std::uint64_t DownloadSender::blockCounter() const {
  std::lock_guard lock(m_mutex);
  return m_machine.blockCounter;
}
CheckMode DownloadSender::checkMode() const {
  std::lock_guard lock(m_mutex);
  return m_machine.checkMode;
}
bool DownloadSender::fileOpen() const {
  std::lock_guard lock(m_mutex);
  return m_file.isOpen();
}

// ---- stepping

int DownloadSender::Step(std::uint8_t byte) {
  Notifications out;
  int result = 0;
  {
    std::lock_guard lock(m_mutex);
    if (m_stopping) return 0;
    result = stepLocked(byte, out);
    wakeWorkerLocked(false);
  }
  deliver(out);
  return result;
}

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

int DownloadSender::stepLocked(std::uint8_t byte, Notifications& out) {
  using namespace xmodem;
  Machine& m = m_machine;
  expireTimersLocked();
  m_waitsWithoutTimer = false;

  // A sender that has stopped reports nothing more, however late a timer fires.
  if (m.timeoutFlag && m.state != State::TransferFailed && m.state != State::Idle &&
      m.state != State::Stopped) {
    m.errorCode = (m.state == State::AwaitStart || m.state == State::TransferDone)
                      ? kCodeNoAnswer
                      : kCodeReplyTimeout;
    m.errorReady = true;
    setStateLocked(State::TransferFailed);
  }

  const bool repeatAsked = (byte == NAK && m.checkMode == CheckMode::Checksum) ||
                           (byte == C && m.checkMode == CheckMode::Crc16);
  int result = 0;
  switch (m.state) {
    case State::Idle:
      break;
    case State::AwaitStart:
      if (byte == NAK && (m.acceptedStart & 1)) {
        m.checkMode = CheckMode::Checksum;
        result = sendNext(State::FirstBlockSent, out);
      } else if (byte == C && (m.acceptedStart & 2)) {
        m.checkMode = CheckMode::Crc16;
        result = sendNext(State::FirstBlockSent, out);
      } else if (byte == CAN) {
        receiverCancel();
      }
      break;
    case State::FirstBlockSent:
    case State::BlockSent:
      if (byte == ACK)
        result = sendNext(State::BlockSent, out);
      else if (repeatAsked)
        result = send(static_cast<std::uint8_t>(m.blockType == BlockType::Stx1024 ? STX : SOH),
                      true, true, out);
      else if (byte == CAN)
        receiverCancel();
      break;
    case State::EotSent:
      if (m.eotAcknowledged) {
        notify(kEventEotAcknowledged, 0, out);
        setStateLocked(State::TransferDone);
      } else if (byte == ACK) {
        if (m.startReplyTimerId != 0) killTimer(m.startReplyTimerId);
        m.eotAcknowledged = true;
      } else if (byte == NAK) {
        result = send(EOT, true, true, out);
      } else if (byte == CAN) {
        receiverCancel();
      }
      break;
    case State::CancelRequested:
      switch (m.cancelStep) {
        case 0:
          if (byte == ACK || repeatAsked) {
            m.cancelStep = 1;
            result = send(CAN, true, true, out);
          } else if (byte == CAN) {
            receiverCancel();
          }
          break;
        case 1:
          if (byte == CAN) {
            if (m.startReplyTimerId != 0) killTimer(m.startReplyTimerId);
            m.cancelStep = 2;
          }
          break;
        case 2:
          notify(kEventCancelled, kCodeUserAbort, out);
          setStateLocked(State::Stopped);
          break;
      }
      break;
    case State::CancelledByReceiver:
      if (m.receiverCancelled) {
        notify(kEventReceiverCancelled, kCodeCancelledByTa, out);
        setStateLocked(State::Stopped);
      }
      break;
    case State::TransferFailed:
      if (m.errorReady) {
        notify(kEventFailed, m.errorCode, out);
        setStateLocked(State::Stopped);
      } else if (byte == CAN) {
        if (m.startReplyTimerId != 0) killTimer(m.startReplyTimerId);
        m.errorReady = true;
      } else if (m.timeoutFlag) {
        // After a failed block read the receiver may never send its CAN: the reply timer
        // ends the wait and the read failure is reported.
        m.errorReady = true;
      }
      break;
    case State::TransferDone:
      if (m.flashWaitTimerId == 0) m.flashWaitTimerId = startTimer(kFlashWaitTimer, m.flashWaitTime);
      if (m.tickTimerId != 0) {
        if (m.tickRunning) break;
        notify(kEventFlashTick, 0, out);
      }
      m.tickTimerId = startTimer(kTickTimer, m.tickTime);
      break;
    case State::Stopped:
      if (m.startReplyTimerId != 0) killTimer(m.startReplyTimerId);
      if (m.flashWaitTimerId != 0) killTimer(m.flashWaitTimerId);
      break;
  }

  if (result != 0 && m.errorCode == 0) m.errorCode = result;
  // A frame that needed a reply could not be written and no reply timer runs: waiting
  // would never end, so the first error recorded is reported now.
  if (m_waitsWithoutTimer && m.state != State::Stopped && m.state != State::Idle) {
    m.errorReady = true;
    setStateLocked(State::TransferFailed);
  }
  return result;
}

int DownloadSender::sendNext(State next, Notifications& out) {
  Machine& m = m_machine;
  if (m.blockCounter < m.blockCount) {
    setStateLocked(next);
    const std::uint8_t kind = m.blockType == BlockType::Stx1024 ? xmodem::STX : xmodem::SOH;
    const int result = send(kind, false, true, out);
    if (result == kCodeFileRead) {
      setStateLocked(State::TransferFailed);
      send(xmodem::CAN, true, true, out);
    }
    return result;
  }
  setStateLocked(State::EotSent);
  return send(xmodem::EOT, false, true, out);
}

int DownloadSender::send(std::uint8_t kind, bool flag, bool withTimer, Notifications& out) {
  Machine& m = m_machine;
  if (m.startReplyTimerId != 0) killTimer(m.startReplyTimerId);
  int result = 0;
  if (IsData(kind))
    result = dataFrame(flag, out);
  else if (IsControl(kind))
    result = controlFrame(kind, flag);
  if (withTimer && result == 0) m.startReplyTimerId = startTimer(kReplyTimer, kReplyTime);
  if (withTimer && result == kCodeWriteFailed) m_waitsWithoutTimer = true;
  return result;
}

int DownloadSender::dataFrame(bool repeat, Notifications& out) {
  Machine& m = m_machine;
  if (!repeat) {
    ++m.blockCounter;
    m_frame.setHeader(m.blockType, static_cast<unsigned>(m.blockCounter));
    if (m_file.ReadNextBlock(m.blockCounter, m_frame.data()) != 0) return kCodeFileRead;
  }
  const std::size_t length = m_frame.seal(m.blockType, m.checkMode);
  const int result = m_link.Write(m_frame.bytes(), length) == 1 ? 0 : kCodeWriteFailed;
  if (!repeat) notify(static_cast<int>(m.state), 0, out);
  return result;
}

int DownloadSender::controlFrame(std::uint8_t byte, bool triple) {
  const std::size_t length = m_frame.control(byte, triple);
  return m_link.Write(m_frame.controlBytes(), length) == 1 ? 0 : kCodeWriteFailed;
}

void DownloadSender::receiverCancel() {
  setStateLocked(State::CancelledByReceiver);
  m_machine.receiverCancelled = true;
  Notifications none;
  send(xmodem::CAN, false, false, none);
}

void DownloadSender::notify(int event, int code, Notifications& out) {
  if (!m_owner || out.count == static_cast<int>(out.items.size())) return;
  out.items[static_cast<std::size_t>(out.count++)] = {m_owner, event, code};
}

void DownloadSender::deliver(const Notifications& out) {
  for (int i = 0; i < out.count; ++i) {
    if (m_stopping) return;
    const Notification& n = out.items[static_cast<std::size_t>(i)];
    n.owner->onSenderEvent(n.event, n.code);
  }
}

void DownloadSender::setStateLocked(State next) {
  const State previous = m_machine.state;
  m_machine.state = next;
  if (next == State::Stopped) {
    if (m_machine.startReplyTimerId != 0) killTimer(m_machine.startReplyTimerId);
    if (m_machine.flashWaitTimerId != 0) killTimer(m_machine.flashWaitTimerId);
  }
  if (previous != next && m_trace)
    m_trace(std::string(StateName(previous)) + " -> " + std::string(StateName(next)));
}

// ---- timers

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
