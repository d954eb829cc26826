#include "serial/classify_response.h"

#include <array>

namespace m2 {
namespace {

struct FinalResult {
  std::string_view text;
  int value;
};

constexpr std::array<std::string_view, 2> kIdentificationLines{
    "ORVANTE M-2KLX QRB Corporation\r\n", "M-2KLX\r\n"};
constexpr std::array<FinalResult, 3> kVerbal{{{"OK\r", 0}, {"ERROR\r", 1}, {"NO CARRIER\r", 2}}};
constexpr std::array<FinalResult, 3> kNumeric{{{"0\r", 10}, {"4\r", 11}, {"3\r", 12}}};

}  // namespace

int ClassifyResponse(std::string_view text, std::string_view command, bool lenient) {
  std::string_view rest = text;
  if (!command.empty()) {
    if (auto at = rest.find(command); at != std::string_view::npos)
      rest.remove_prefix(at + command.size());
  }
  for (std::string_view line : kIdentificationLines) {
    if (auto at = rest.find(line); at != std::string_view::npos) {
      rest.remove_prefix(at + line.size());
      break;
    }
  }
  for (const auto& r : kVerbal)
    if (rest.find(r.text) != std::string_view::npos) return r.value;
  if (lenient)
    for (const auto& r : kNumeric)
      if (rest.find(r.text) != std::string_view::npos) return r.value;
  return kNoFinalResult;
}

}  // namespace m2
