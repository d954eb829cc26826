// DownloadSender: the frames it sends. A data frame goes to the port in one write.
#include "update/download_sender.h"

#include "update/update_messages.h"

namespace m2 {
namespace {

bool IsData(std::uint8_t kind) { return kind == xmodem::SOH || kind == xmodem::STX; }
bool IsControl(std::uint8_t kind) {
  using namespace xmodem;
  return kind == EOT || kind == ACK || kind == NAK || kind == CAN || kind == C;
}

}  // namespace

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

}  // namespace m2
