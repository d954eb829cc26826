#include <gtest/gtest.h>

#include <string_view>

#include "update/xmodem_check.h"
#include "update/xmodem_frame.h"

namespace m2 {
namespace {

std::uint16_t CrcOf(std::string_view s) {
  return Crc16Xmodem(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
}

TEST(XmodemCheck, Crc16KnownValues) {
  struct Row {
    std::string_view data;
    std::uint16_t crc;
  };
  // CRC-16/XMODEM reference values (a reflected or 0xFFFF-initialised CRC differs on all).
  constexpr Row rows[] = {
      {"", 0x0000}, {"123456789", 0x31C3}, {"A", 0x58E5}, {std::string_view("\0", 1), 0x0000},
      {"\xFF", 0x1EF0},
  };
  for (const auto& row : rows) EXPECT_EQ(CrcOf(row.data), row.crc) << "data: " << row.data;
}

// Bit by bit, as the polynomial defines it: the reference for the table-driven CRC.
std::uint16_t BitwiseCrc(const std::uint8_t* data, std::size_t length) {
  unsigned crc = 0;
  for (std::size_t i = 0; i < length; ++i) {
    crc ^= static_cast<unsigned>(data[i]) << 8;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x8000) ? ((crc << 1) ^ 0x1021) & 0xFFFF : (crc << 1) & 0xFFFF;
  }
  return static_cast<std::uint16_t>(crc);
}

TEST(XmodemCheck, Crc16MatchesTheBitwiseDefinitionAtEveryLength) {
  std::uint8_t data[1024 + 17];
  for (std::size_t i = 0; i < sizeof data; ++i) data[i] = static_cast<std::uint8_t>(i * 131 + (i >> 3));
  for (std::size_t length = 0; length <= 40; ++length)
    EXPECT_EQ(Crc16Xmodem(data, length), BitwiseCrc(data, length)) << length;
  EXPECT_EQ(Crc16Xmodem(data, 1024), BitwiseCrc(data, 1024));
  EXPECT_EQ(Crc16Xmodem(data + 3, 1024 + 14), BitwiseCrc(data + 3, 1024 + 14));
}

TEST(XmodemFrame, LayoutsByTypeAndCheck) {
  struct Row {
    BlockType type;
    CheckMode mode;
    std::uint8_t header;
    std::size_t length;
  };
  constexpr Row rows[] = {
      {BlockType::Stx1024, CheckMode::Checksum, xmodem::STX, 1028},
      {BlockType::Stx1024, CheckMode::Crc16, xmodem::STX, 1029},
      {BlockType::Soh128, CheckMode::Checksum, xmodem::SOH, 132},
      {BlockType::Soh128, CheckMode::Crc16, xmodem::SOH, 133},
  };
  for (const auto& row : rows) {
    FrameBuffer frame;
    for (std::size_t i = 0; i < kMaxDataBytes; ++i) frame.data()[i] = static_cast<std::uint8_t>(i * 7);
    frame.setHeader(row.type, 300);  // 300 & 0xFF = 44
    const std::size_t length = frame.seal(row.type, row.mode);
    ASSERT_EQ(length, row.length);
    const std::uint8_t* b = frame.bytes();
    EXPECT_EQ(b[0], row.header);
    EXPECT_EQ(b[1], 44);
    EXPECT_EQ(b[2], 255 - 44);
    const std::size_t data = DataBytes(row.type);
    if (row.mode == CheckMode::Crc16) {
      const std::uint16_t crc = Crc16Xmodem(b + 3, data);
      EXPECT_EQ(b[3 + data], crc >> 8) << "high byte first";
      EXPECT_EQ(b[4 + data], crc & 0xFF);
    } else {
      EXPECT_EQ(b[3 + data], Checksum8(b + 3, data));
    }
  }
}

TEST(XmodemFrame, ControlFramesLeaveTheBlockIntact) {
  FrameBuffer frame;
  frame.setHeader(BlockType::Stx1024, 5);
  frame.data()[0] = 0x55;
  EXPECT_EQ(frame.control(xmodem::CAN, true), 3u);
  EXPECT_EQ(frame.controlBytes()[0], xmodem::CAN);
  EXPECT_EQ(frame.controlBytes()[2], xmodem::CAN);
  EXPECT_EQ(frame.control(xmodem::EOT, false), 1u);
  EXPECT_EQ(frame.controlBytes()[0], xmodem::EOT);
  EXPECT_EQ(frame.bytes()[0], xmodem::STX);
  EXPECT_EQ(frame.bytes()[1], 5);
  EXPECT_EQ(frame.data()[0], 0x55);
}

}  // namespace
}  // namespace m2
