#include "update/xmodem_frame.h"

#include "update/xmodem_check.h"

namespace m2 {

void FrameBuffer::setHeader(BlockType type, unsigned counter) {
  const auto n = static_cast<std::uint8_t>(counter & 0xFF);
  m_bytes[0] = type == BlockType::Stx1024 ? xmodem::STX : xmodem::SOH;
  m_bytes[1] = n;
  m_bytes[2] = static_cast<std::uint8_t>(255 - n);
}

std::size_t FrameBuffer::seal(BlockType type, CheckMode mode) {
  const std::size_t length = DataBytes(type);
  std::uint8_t* check = data() + length;
  if (mode == CheckMode::Crc16) {
    const std::uint16_t crc = Crc16Xmodem(data(), length);
    check[0] = static_cast<std::uint8_t>(crc >> 8);
    check[1] = static_cast<std::uint8_t>(crc & 0xFF);
  } else {
    check[0] = Checksum8(data(), length);
  }
  return FrameBytes(type, mode);
}

std::size_t FrameBuffer::control(std::uint8_t byte, bool triple) {
  const std::size_t count = triple ? 3 : 1;
  for (std::size_t i = 0; i < count; ++i) m_control[i] = byte;
  return count;
}

}  // namespace m2
