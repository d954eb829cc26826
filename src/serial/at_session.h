#pragma once
// AtSession: the exchange context an operation that talks to the TA makes for itself and
// discards when done. The command field holds the next command with its final CR; the
// response holds the reply of the last transaction (at most 1023 bytes, zero-terminated).
#include <array>
#include <cstring>
#include <string>
#include <string_view>

namespace m2 {

// The value of one transaction; 64 alone means failure.
enum AtResult : int {
  kAtOk = 0,            // "OK\r"
  kAtNumericOk = 10,    // "0\r", lenient only
  kAtNumericError = 11, // "4\r", lenient only
  kAtNumericNoCarrier = 12,  // "3\r", lenient only
  kAtSilence = 24,      // silence accepted
  kAtFailed = 64,
};

struct AtSession {
  static constexpr std::size_t kCommandSize = 128;
  static constexpr std::size_t kResponseSize = 1024;

  std::array<char, kCommandSize> command{};
  int responseLength = 0;
  std::array<char, kResponseSize> response{};
  std::array<std::string, 3> causeTexts;

  void setCommand(std::string_view text) {
    const std::size_t n = text.size() < kCommandSize - 1 ? text.size() : kCommandSize - 1;
    std::memcpy(command.data(), text.data(), n);
    command[n] = '\0';
  }
  std::string_view commandText() const { return {command.data(), std::strlen(command.data())}; }
  std::string_view responseText() const {
    return {response.data(), static_cast<std::size_t>(responseLength)};
  }
};

}  // namespace m2
