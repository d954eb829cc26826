#include "update/update_progress.h"

#include <algorithm>
#include <cstring>

namespace m2 {
namespace {

// Sent by the TA when it enters its download mode; not an answer to anything of ours.
constexpr std::uint8_t kNakAndCans[] = {0x15, 0x18, 0x18, 0x18, 0x18, 0x18};

bool IsNakAndCans(const std::uint8_t* data, int length) {
  const void* zero = std::memchr(data, 0, static_cast<std::size_t>(length));
  const auto text = zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - data)
                         : static_cast<std::size_t>(length);
  return text == sizeof kNakAndCans && std::memcmp(data, kNakAndCans, text) == 0;
}

}  // namespace

UpdateProgress::UpdateProgress(DownloadSender& sender, ProgressView& view)
    : m_sender(sender), m_view(view) {}

UpdateProgress::~UpdateProgress() {
  bool stop = false;
  {
    std::lock_guard lock(m_mutex);
    stop = !m_closed && m_state != ProgressState::Starting;
    m_closed = true;
    m_state = ProgressState::Closing;
  }
  if (stop) m_sender.Stop();
}

bool UpdateProgress::Start(const UpdateRequest& request) {
  {
    std::lock_guard lock(m_mutex);
    // Held during the start: chunks and events wait until the state says what they mean.
    const int code = m_sender.StartUpdate(1, request, this);
    if (code == 0) {
      m_state = ProgressState::WaitingForTa;
      m_percent = 0;
      m_percentText.assign(1, '0');  // not = "0": GCC 12 warns falsely (-Wrestrict)
      showStatus(0);
      return true;
    }
    m_view.showStartFailure(UpdateMessageText(code), m_sender.StartFailureDetail(code));
    m_state = ProgressState::Closing;
  }
  close();
  return false;
}

ProgressState UpdateProgress::PressButton() {
  ProgressState pressed;
  {
    std::lock_guard lock(m_mutex);
    pressed = m_state;
    switch (m_state) {
      case ProgressState::WaitingForTa:
        m_sender.StopWaiting();
        m_state = ProgressState::Aborted;
        showStatus(kCodeUserAbort);
        return pressed;
      case ProgressState::Sending:
        switch (m_sender.RequestCancel()) {
          case DownloadSender::CancelOutcome::Requested:
          case DownloadSender::CancelOutcome::AlreadyEnding:
            break;
          case DownloadSender::CancelOutcome::TransferOver:
            m_sender.StopWaiting();
            m_state = ProgressState::Aborted;
            showStatus(kCodeFlashWaitAbort);
            break;
        }
        return pressed;
      case ProgressState::WritingFlash:
        m_sender.StopWaiting();
        m_state = ProgressState::Aborted;
        showStatus(kCodeFlashWaitAbort);
        return pressed;
      case ProgressState::Starting:
      case ProgressState::Done:
      case ProgressState::Aborted:
      case ProgressState::RefusedByTa:
      case ProgressState::Error:
      case ProgressState::Closing:
        m_state = ProgressState::Closing;
        break;
    }
  }
  close();
  return pressed;
}

ProgressState UpdateProgress::PressEscape() {
  ProgressState left;
  {
    std::lock_guard lock(m_mutex);
    left = m_state;
    m_state = ProgressState::Closing;
  }
  close();
  return left;
}

void UpdateProgress::close() {
  {
    std::lock_guard lock(m_mutex);
    if (m_closed) return;
    m_closed = true;
  }
  m_sender.Stop();
  m_view.closeDialog();
}

bool UpdateProgress::running() const {
  return m_state == ProgressState::WaitingForTa || m_state == ProgressState::Sending ||
         m_state == ProgressState::WritingFlash;
}

// ---- received chunks

void UpdateProgress::onRxChunk(const std::uint8_t* data, int length) {
  std::lock_guard lock(m_mutex);
  if (length <= 0) return;
  switch (m_state) {
    case ProgressState::WaitingForTa:
      if (IsNakAndCans(data, length)) return;
      stepBytes(data, length);
      return;
    case ProgressState::Sending:
      stepBytes(data, length);
      return;
    case ProgressState::WritingFlash:
      verdict(data, static_cast<std::size_t>(length));
      return;
    case ProgressState::Starting:
    case ProgressState::Done:
    case ProgressState::Aborted:
    case ProgressState::RefusedByTa:
    case ProgressState::Error:
    case ProgressState::Closing:
      return;
  }
}

void UpdateProgress::stepBytes(const std::uint8_t* data, int length) {
  for (int i = 0; i < length && running(); ++i) {
    // Bytes after the ACK of EOT are the TA's verdict, not XMODEM: stepping them would
    // lose them. They are kept until event 4, which the worker delivers next.
    if (m_sender.eotAcknowledged()) {
      const std::size_t room = VerdictCollector::kLimit + 1 - std::min(m_heldBack.size(), VerdictCollector::kLimit);
      m_heldBack.append(reinterpret_cast<const char*>(data + i),
                        std::min(static_cast<std::size_t>(length - i), room));
      return;
    }
    m_sender.Step(data[i]);
  }
}

void UpdateProgress::verdict(const std::uint8_t* data, std::size_t length) {
  const std::optional<int> code = m_verdict.append(data, length);
  if (!code) return;
  if (*code == kCodeSuccess) {
    m_sender.StopWaiting();
    raisePercentTo(100);
    m_state = ProgressState::Done;
    showStatus(kCodeSuccess);
    return;
  }
  finish(ProgressState::Error, *code);
}

void UpdateProgress::finish(ProgressState state, int code) {
  m_sender.StopWaiting();
  m_state = state;
  showStatus(code);
}

// ---- sender events

void UpdateProgress::onSenderEvent(int event, int code) {
  std::lock_guard lock(m_mutex);
  // An outcome already shown stands; a late event from a step that raced it is dropped.
  if (!running()) return;
  switch (event) {
    case kEventFirstBlock: {
      const auto blocks = m_sender.blockCount();
      m_blocksPerPercent = static_cast<int>((blocks + 49) / 50);
      m_percent = 0;
      m_blocksSinceStep = 0;
      m_state = ProgressState::Sending;
      showStatus(0);
      break;
    }
    case kEventNextBlock:
      if (++m_blocksSinceStep >= m_blocksPerPercent) {
        m_blocksSinceStep = 0;
        if (m_percent < 50) percentStep();
      }
      break;
    case kEventEotAcknowledged:
      raisePercentTo(50);
      m_sender.SetFlashWaitTimes(kFlashWaitTime, kTickTime);
      m_state = ProgressState::WritingFlash;
      m_verdict.clear();
      showStatus(0);
      if (!m_heldBack.empty()) {
        const std::string held = std::move(m_heldBack);
        m_heldBack.clear();
        verdict(reinterpret_cast<const std::uint8_t*>(held.data()), held.size());
      }
      break;
    case kEventCancelled:
      m_state = ProgressState::Aborted;
      showStatus(code);
      break;
    case kEventReceiverCancelled:
      m_state = ProgressState::RefusedByTa;
      showStatus(code);
      break;
    case kEventFailed:
      m_state = ProgressState::Error;
      showStatus(code);
      break;
    case kEventFlashTick:
      if (m_percent < 100) percentStep();
      break;
    default:
      break;
  }
}

// ---- display

void UpdateProgress::showStatus(int code) {
  switch (m_state) {
    case ProgressState::WaitingForTa:
    case ProgressState::Sending:
    case ProgressState::WritingFlash:
    case ProgressState::Done:
      m_message = ProgressTextOf(m_state);
      break;
    case ProgressState::Aborted:
    case ProgressState::RefusedByTa:
    case ProgressState::Error:
      m_message = UpdateMessageText(code);
      break;
    case ProgressState::Starting:
    case ProgressState::Closing:
      m_message = {};
      break;
  }
  if (m_state == ProgressState::WaitingForTa) m_buttonText = kButtonAbort;
  if (m_state == ProgressState::Done || m_state == ProgressState::Aborted ||
      m_state == ProgressState::RefusedByTa || m_state == ProgressState::Error)
    m_buttonText = kButtonClose;
  render();
}

void UpdateProgress::percentStep() {
  ++m_percent;
  m_percentText = std::to_string(m_percent);
  render();
}

void UpdateProgress::raisePercentTo(int target) {
  while (m_percent < target) percentStep();
}

void UpdateProgress::render() {
  m_view.render({m_state, m_message, m_percentText, m_buttonText, m_percent});
}

// ---- queries

ProgressState UpdateProgress::state() const {
  std::lock_guard lock(m_mutex);
  return m_state;
}
int UpdateProgress::percent() const {
  std::lock_guard lock(m_mutex);
  return m_percent;
}
std::string UpdateProgress::message() const {
  std::lock_guard lock(m_mutex);
  return std::string(m_message);
}
std::string UpdateProgress::buttonText() const {
  std::lock_guard lock(m_mutex);
  return std::string(m_buttonText);
}
int UpdateProgress::blocksPerPercent() const {
  std::lock_guard lock(m_mutex);
  return m_blocksPerPercent;
}
bool UpdateProgress::closed() const {
  std::lock_guard lock(m_mutex);
  return m_closed;
}

}  // namespace m2
