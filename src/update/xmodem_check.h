#pragma once
// The two block checks of XMODEM, both over the data bytes only: the 8-bit sum, and
// CRC-16/XMODEM (polynomial 0x1021, initial value 0, no reflection, no final XOR).
#include <array>
#include <cstddef>
#include <cstdint>

namespace m2 {

// kCrc16Tables[k][v]: the CRC of byte v followed by k zero bytes. Row 0 is the usual
// byte table; the others let eight bytes be folded in at once (the check of every block is
// computed while the receiver waits, and bytewise it costs more than the write).
inline constexpr std::array<std::array<std::uint16_t, 256>, 8> kCrc16Tables = [] {
  std::array<std::array<std::uint16_t, 256>, 8> t{};
  for (unsigned v = 0; v < 256; ++v) {
    unsigned crc = v << 8;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1;
    t[0][v] = static_cast<std::uint16_t>(crc);
  }
  for (std::size_t k = 1; k < 8; ++k)
    for (unsigned v = 0; v < 256; ++v)
      t[k][v] = static_cast<std::uint16_t>((t[k - 1][v] << 8) ^ t[0][t[k - 1][v] >> 8]);
  return t;
}();

constexpr std::uint16_t Crc16Xmodem(const std::uint8_t* data, std::size_t length) {
  const auto& t = kCrc16Tables;
  unsigned crc = 0;
  std::size_t i = 0;
  for (; i + 8 <= length; i += 8) {
    crc = t[7][data[i] ^ (crc >> 8)] ^ t[6][data[i + 1] ^ (crc & 0xFF)] ^ t[5][data[i + 2]] ^
          t[4][data[i + 3]] ^ t[3][data[i + 4]] ^ t[2][data[i + 5]] ^ t[1][data[i + 6]] ^
          t[0][data[i + 7]];
  }
  for (; i < length; ++i) crc = ((crc << 8) ^ t[0][((crc >> 8) ^ data[i]) & 0xFF]) & 0xFFFF;
  return static_cast<std::uint16_t>(crc);
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
