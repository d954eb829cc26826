#pragma once
// The speed, format and port tables shared by both programs: the indices are what the
// settings file keeps and what the PC port page offers.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace m2 {

enum class Parity : std::uint8_t { None = 0, Odd = 1, Even = 2 };  // the OS codes

struct SpeedEntry {
  std::uint32_t baud;
};

struct FormatEntry {
  std::uint8_t byteSize;
  Parity parity;
  std::uint8_t stopBits;  // OS code: 0 one stop bit, 2 two stop bits
  std::string_view name;
};

inline constexpr std::array<SpeedEntry, 7> SpeedTable{{
    {2400}, {4800}, {9600}, {19200}, {38400}, {57600}, {115200}}};

inline constexpr std::array<FormatEntry, 4> FormatTable{{
    {8, Parity::None, 0, "8N1"},
    {7, Parity::Even, 0, "7E1"},
    {7, Parity::Odd, 0, "7O1"},
    {7, Parity::None, 2, "7N2"},
}};

inline constexpr int kPortCount = 4;  // COM1 to COM4

// Flow flags of the port record.
inline constexpr std::uint8_t kFlowDtrDsr = 1;
inline constexpr std::uint8_t kFlowRtsCts = 2;
inline constexpr std::uint8_t kFlowXonXoff = 4;

std::optional<int> SpeedIndexOf(std::uint32_t baud);
std::optional<int> FormatIndexOf(std::string_view name);

}  // namespace m2
