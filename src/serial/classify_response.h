#pragma once
#include <string_view>

namespace m2 {

// Final-result classification of a reply so far: 0 "OK\r", 1 "ERROR\r", 2 "NO CARRIER\r",
// in lenient mode 10 "0\r", 11 "4\r", 12 "3\r"; 255 when no final result is there yet.
// The echo of the command as sent and the identification lines are stepped over first.
int ClassifyResponse(std::string_view text, std::string_view command, bool lenient);

inline constexpr int kNoFinalResult = 255;

}  // namespace m2
