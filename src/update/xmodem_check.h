#pragma once
// The two block checks of XMODEM, both over the data bytes only: the 8-bit sum, and
// CRC-16/XMODEM (polynomial 0x1021, initial value 0, no reflection, no final XOR).
#include <array>
#include <cstddef>
#include <cstdint>

namespace m2 {

inline constexpr std::array<std::uint16_t, 256> kCrc16Table = [] {
  std::array<std::uint16_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    unsigned crc = i << 8;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1;
    table[i] = static_cast<std::uint16_t>(crc);
  }
  return table;
}();

constexpr std::uint16_t Crc16Xmodem(const std::uint8_t* data, std::size_t length) {
  std::uint16_t crc = 0;
  for (std::size_t i = 0; i < length; ++i)
    crc = static_cast<std::uint16_t>((crc << 8) ^ kCrc16Table[((crc >> 8) ^ data[i]) & 0xFF]);
  return crc;
}

constexpr std::uint8_t Checksum8(const std::uint8_t* data, std::size_t length) {
  unsigned sum = 0;
  for (std::size_t i = 0; i < length; ++i) sum += data[i];
  return static_cast<std::uint8_t>(sum);
}

// The catalogue check value of CRC-16/XMODEM.
static_assert([] {
  constexpr std::uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  return Crc16Xmodem(digits, 9) == 0x31C3;
}());

}  // namespace m2
