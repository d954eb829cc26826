// DownloadSender: starting and stopping an update, the fields the display writes, queries.
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

}  // namespace m2
