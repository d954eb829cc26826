#pragma once
// XMODEM framing as the sender writes it. A data frame is the header byte, the block
// number n and 255 - n, the data (1024 bytes after STX, 128 after SOH) and the check:
// one checksum byte, or the CRC high byte first. Control frames are one byte, or the same
// byte three times. Header and block number are not covered by the check.
#include <array>
#include <cstddef>
#include <cstdint>

namespace m2 {

namespace xmodem {
inline constexpr std::uint8_t SOH = 0x01;
inline constexpr std::uint8_t STX = 0x02;
inline constexpr std::uint8_t EOT = 0x04;
inline constexpr std::uint8_t ACK = 0x06;
inline constexpr std::uint8_t NAK = 0x15;
inline constexpr std::uint8_t CAN = 0x18;
inline constexpr std::uint8_t C = 0x43;
}  // namespace xmodem

enum class CheckMode : int { Checksum = 1, Crc16 = 2 };
enum class BlockType : int { Soh128 = 1, Stx1024 = 2 };

inline constexpr std::size_t kHeaderBytes = 3;
inline constexpr std::size_t kMaxDataBytes = 1024;
inline constexpr std::size_t kFrameBufferBytes = kHeaderBytes + kMaxDataBytes + 2;

constexpr std::size_t DataBytes(BlockType type) { return type == BlockType::Stx1024 ? 1024 : 128; }
constexpr std::size_t CheckBytes(CheckMode mode) { return mode == CheckMode::Crc16 ? 2 : 1; }
constexpr std::size_t FrameBytes(BlockType type, CheckMode mode) {
  return kHeaderBytes + DataBytes(type) + CheckBytes(mode);
}
static_assert(FrameBytes(BlockType::Stx1024, CheckMode::Crc16) == kFrameBufferBytes);
static_assert(FrameBytes(BlockType::Stx1024, CheckMode::Checksum) == 1028);
static_assert(FrameBytes(BlockType::Soh128, CheckMode::Checksum) == 132);
static_assert(FrameBytes(BlockType::Soh128, CheckMode::Crc16) == 133);

class FrameBuffer {
 public:
  std::uint8_t* data() { return m_bytes.data() + kHeaderBytes; }  // the block's data area
  const std::uint8_t* bytes() const { return m_bytes.data(); }

  // Header and block number of a new block; counter is the advanced block counter.
  void setHeader(BlockType type, unsigned counter);
  // Puts the check after the data; returns the frame's length.
  std::size_t seal(BlockType type, CheckMode mode);
  // One or three copies of a control byte; kept apart from the data frame, so a block
  // repeated after a control frame is still intact.
  std::size_t control(std::uint8_t byte, bool triple);
  const std::uint8_t* controlBytes() const { return m_control.data(); }

 private:
  std::array<std::uint8_t, kFrameBufferBytes> m_bytes{};
  std::array<std::uint8_t, 3> m_control{};
};

}  // namespace m2
