#include "xmodem_receiver.h"

#include <algorithm>
#include <cstdio>

#include "update/xmodem_check.h"

namespace m2::sim {
namespace {

constexpr std::uint8_t SOH = 0x01, STX = 0x02, EOT = 0x04, ACK = 0x06, NAK = 0x15, CAN = 0x18,
                       C = 0x43;

}  // namespace

XmodemReceiver::XmodemReceiver(XmodemOptions options) : m_opt(std::move(options)) {}

std::uint8_t XmodemReceiver::repeatRequest() const { return m_opt.checksum ? NAK : C; }

std::size_t XmodemReceiver::frameLength() const {
  const std::size_t data = m_frame.at(0) == STX ? 1024 : 128;
  return 3 + data + (m_opt.checksum ? 1 : 2);
}

std::string XmodemReceiver::receive(const std::uint8_t* data, std::size_t length,
                                    Clock::time_point now) {
  std::string out;
  for (std::size_t i = 0; i < length; ++i) {
    const std::uint8_t byte = data[i];
    switch (m_state) {
      case State::AwaitFirst:
      case State::AwaitHeader:
        if (byte == STX || byte == SOH) {
          m_frame.assign(1, byte);
          m_frameStarted = now;
          m_state = State::InFrame;
        } else if (byte == EOT) {
          note("EOT");
          onEot(now, out);
        } else if (byte == CAN) {
          note("CAN");
          out.push_back(static_cast<char>(CAN));
          m_state = State::Cancelled;
        }
        break;
      case State::InFrame:
        m_frame.push_back(byte);
        if (m_frame.size() == frameLength()) onFrame(now, out);
        break;
      case State::AfterEot:
        break;  // the rest of an EOT triple, or anything else: the transfer is over
      case State::Cancelled:
      case State::Stalled:
        break;
    }
  }
  return out;
}

void XmodemReceiver::onFrame(Clock::time_point now, std::string& out) {
  m_state = State::AwaitHeader;
  const std::size_t dataLength = m_frame[0] == STX ? 1024 : 128;
  const std::uint8_t number = m_frame[1];
  const std::uint8_t* data = m_frame.data() + 3;
  bool good = static_cast<std::uint8_t>(number + m_frame[2]) == 0xFF;
  if (m_opt.checksum) {
    good = good && Checksum8(data, dataLength) == m_frame[3 + dataLength];
  } else {
    const std::uint16_t crc = Crc16Xmodem(data, dataLength);
    good = good && (crc >> 8) == m_frame[3 + dataLength] && (crc & 0xFF) == m_frame[4 + dataLength];
  }
  const auto expected = static_cast<std::uint8_t>(m_lastNumber + 1);
  if (good && m_blocks > 0 && number == m_lastNumber) {
    reply(std::string(1, static_cast<char>(ACK)), now, out);  // our ACK was lost: not stored again
    return;
  }
  if (!good || number != expected) {
    reply(std::string(1, static_cast<char>(repeatRequest())), now, out);
    return;
  }
  const long index = m_blocks + 1;
  if (m_opt.stallAt == index) {
    m_state = State::Stalled;
    return;
  }
  if (m_opt.cancelAt == index) {
    reply(std::string(2, static_cast<char>(CAN)), now, out);
    m_state = State::Cancelled;
    return;
  }
  if (m_opt.nakBlock == index && !m_nakBlockDone) {
    m_nakBlockDone = true;
    reply(std::string(1, static_cast<char>(repeatRequest())), now, out);
    return;
  }
  m_image.insert(m_image.end(), data, data + dataLength);
  m_blocks = index;
  m_lastNumber = number;
  note("block " + std::to_string(index));
  reply(std::string(1, static_cast<char>(ACK)), now, out);
}

void XmodemReceiver::onEot(Clock::time_point now, std::string& out) {
  if (m_opt.nakEot && !m_nakEotDone) {
    m_nakEotDone = true;
    reply(std::string(1, static_cast<char>(NAK)), now, out);
    return;
  }
  saveImage();
  m_state = State::AfterEot;
  reply(std::string(1, static_cast<char>(ACK)), now, out);
  if (m_opt.noVerdict) return;
  const std::string text = m_opt.verdict + "\r";
  const auto at = now + m_opt.ackDelay + m_opt.verdictDelay;
  if (m_opt.splitVerdict && text.size() > 1) {
    const std::size_t half = text.size() / 2;
    schedule(at, text.substr(0, half));
    schedule(at + m_opt.splitGap, text.substr(half));
  } else {
    schedule(at, text);
  }
}

void XmodemReceiver::reply(std::string bytes, Clock::time_point now, std::string& out) {
  if (m_opt.ackDelay.count() == 0 && m_pending.empty()) {
    out += bytes;
    return;
  }
  schedule(now + m_opt.ackDelay, std::move(bytes));
}

void XmodemReceiver::schedule(Clock::time_point at, std::string bytes) {
  auto later = std::upper_bound(m_pending.begin(), m_pending.end(), at,
                                [](Clock::time_point t, const Pending& p) { return t < p.at; });
  m_pending.insert(later, {at, std::move(bytes)});
}

std::string XmodemReceiver::tick(Clock::time_point now) {
  std::string out;
  if (m_state == State::AwaitFirst && !m_opt.noStart) {
    if (!m_nextStart || *m_nextStart <= now) {
      out.push_back(static_cast<char>(m_opt.checksum ? NAK : C));
      m_nextStart = now + m_opt.startInterval;
    }
  }
  // A frame that stops half-way is dropped and asked for again.
  if (m_state == State::InFrame && now - m_frameStarted >= kFrameTimeout) {
    m_state = State::AwaitHeader;
    reply(std::string(1, static_cast<char>(repeatRequest())), now, out);
  }
  while (!m_pending.empty() && m_pending.front().at <= now) {
    out += m_pending.front().bytes;
    m_pending.erase(m_pending.begin());
  }
  return out;
}

std::optional<XmodemReceiver::Clock::time_point> XmodemReceiver::nextWake() const {
  std::optional<Clock::time_point> next;
  auto consider = [&](Clock::time_point t) {
    if (!next || t < *next) next = t;
  };
  if (m_state == State::AwaitFirst && !m_opt.noStart && m_nextStart) consider(*m_nextStart);
  if (m_state == State::InFrame) consider(m_frameStarted + kFrameTimeout);
  if (!m_pending.empty()) consider(m_pending.front().at);
  return next;
}

void XmodemReceiver::saveImage() {
  if (m_saved || m_opt.outPath.empty()) return;
  std::FILE* f = std::fopen(m_opt.outPath.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "m2sim: cannot write %s\n", m_opt.outPath.c_str());
    return;
  }
  if (!m_image.empty()) std::fwrite(m_image.data(), 1, m_image.size(), f);
  std::fclose(f);
  m_saved = true;
}

XmodemProtocol::XmodemProtocol(XmodemOptions options, std::FILE* log)
    : m_receiver(std::move(options)) {
  if (!log) return;
  m_receiver.setNote([log](const std::string& line) {
    std::fprintf(log, "%s\n", line.c_str());
    std::fflush(log);
  });
}

void XmodemProtocol::onReceive(const std::uint8_t* data, std::size_t length, PtyEndpoint& line) {
  const std::string out = m_receiver.receive(data, length, Clock::now());
  if (!out.empty()) line.write(out);
}

std::optional<SimProtocol::Clock::time_point> XmodemProtocol::onTick(Clock::time_point now,
                                                                     PtyEndpoint& line) {
  const std::string out = m_receiver.tick(now);
  if (!out.empty()) line.write(out);
  return m_receiver.nextWake();
}

}  // namespace m2::sim
