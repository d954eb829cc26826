#include "ta_status.h"

#include <optional>

namespace m2::sim {
namespace {

// "" selects every port; "0".."2" one port; anything else is malformed.
std::optional<std::array<bool, 3>> PortSelection(std::string_view args) {
  if (args.empty()) return std::array<bool, 3>{true, true, true};
  if (args.size() == 1 && args[0] >= '0' && args[0] <= '2') {
    std::array<bool, 3> one{false, false, false};
    one[static_cast<std::size_t>(args[0] - '0')] = true;
    return one;
  }
  return std::nullopt;
}

template <typename ValueOf>
Reply PortLines(const TaStatus& status, std::string_view args, ValueOf valueOf) {
  auto ports = PortSelection(args);
  if (!ports) return {"", Final::Error};
  std::string text;
  for (int p = 0; p < 3; ++p)
    if ((*ports)[static_cast<std::size_t>(p)] && p != status.omitItem) text += "\r\n" + std::to_string(p) + ":" + valueOf(p);
  text += "\r\n";
  return {text};
}

}  // namespace

void RegisterStatusCommands(TaModel& ta, TaStatus& status) {
  ta.addCommand("$A", [&status](TaModel&, std::string_view args) {
    return PortLines(status, args, [&](int p) { return std::to_string(status.lastCharge[static_cast<std::size_t>(p)]); });
  });
  ta.addCommand("$B", [&status](TaModel&, std::string_view args) {
    return PortLines(status, args, [&](int p) { return std::to_string(status.totalCharge[static_cast<std::size_t>(p)]); });
  });
  ta.addCommand("$C", [&status](TaModel&, std::string_view args) {
    return PortLines(status, args, [&](int p) { return status.cause[static_cast<std::size_t>(p)]; });
  });
  ta.addCommand("$D", [&status](TaModel&, std::string_view args) {
    auto ports = PortSelection(args);
    if (!ports) return Reply{"", Final::Error};
    for (std::size_t p = 0; p < 3; ++p)
      if ((*ports)[p]) status.totalCharge[p] = 0;
    return Reply{};
  });
  ta.addCommand("S112?", [&status](TaModel& t, std::string_view args) {
    return args.empty() ? Reply{t.infoLine(std::to_string(status.s112))} : Reply{"", Final::Error};
  });
  ta.addCommand("S115?", [&status](TaModel& t, std::string_view args) {
    return args.empty() ? Reply{t.infoLine(std::to_string(status.s115))} : Reply{"", Final::Error};
  });
}

}  // namespace m2::sim
