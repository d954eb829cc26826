#include "serial/port_tables.h"

namespace m2 {

std::optional<int> SpeedIndexOf(std::uint32_t baud) {
  for (std::size_t i = 0; i < SpeedTable.size(); ++i)
    if (SpeedTable[i].baud == baud) return static_cast<int>(i);
  return std::nullopt;
}

std::optional<int> FormatIndexOf(std::string_view name) {
  for (std::size_t i = 0; i < FormatTable.size(); ++i) {
    std::string_view n = FormatTable[i].name;
    if (n.size() != name.size()) continue;
    bool same = true;
    for (std::size_t k = 0; k < n.size(); ++k)
      if ((name[k] | 0x20) != (n[k] | 0x20)) same = false;
    if (same) return static_cast<int>(i);
  }
  return std::nullopt;
}

}  // namespace m2
