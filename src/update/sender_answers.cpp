// DownloadSender: one step of the machine, by the answer received (or none), and the
// delivery of the events it queues.
#include "update/download_sender.h"

#include "update/update_messages.h"

namespace m2 {

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

}  // namespace m2
