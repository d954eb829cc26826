#pragma once
// A link owner talking to a fresh m2sim over a real pseudo-terminal, with a short silence
// time so that time-outs cost little.
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "serial/console_ui.h"
#include "serial/error_table.h"
#include "serial/link_owner.h"
#include "support/sim_process.h"

namespace m2::test {

struct TaBench {
  explicit TaBench(std::vector<std::string> simArgs, std::chrono::milliseconds silence = std::chrono::milliseconds(400))
      : sim(std::move(simArgs)), owner(dialogs, waiter, silence) {
    owner.link().setDeviceOverride(sim.linkPath());
  }
  // Commands the simulator received since the given count.
  std::vector<std::string> commandsSince(std::size_t from) const {
    auto log = sim.commandLog();
    return {log.begin() + static_cast<long>(std::min(from, log.size())), log.end()};
  }
  static std::string Text(int code) { return std::string(ErrorMessageText(code)); }

  SimProcess sim;
  ConsoleDialogs dialogs{nullptr, 0};
  BlockingBurstWaiter waiter;
  LinkOwner owner;
};

}  // namespace m2::test
