#pragma once
// A link owner talking to a fresh m2sim over a real pseudo-terminal. The simulator starts
// from the given settings state (TA codings, see sim/ta_settings.h) and stores to the same
// file on AT&W0, so a test can read back what the TA was left with.
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "serial/console_ui.h"
#include "serial/link_owner.h"
#include "support/sim_process.h"
#include "temp_dir.h"

namespace m2::test {

class SimBench {
 public:
  explicit SimBench(const nlohmann::json& state = nlohmann::json::object(),
                    std::vector<std::string> extraArgs = {})
      : m_statePath(WriteState(m_dir, state)),
        sim(WithState(std::move(extraArgs), m_statePath)),
        owner(dialogs, waiter, std::chrono::milliseconds(400)) {
    owner.link().setDeviceOverride(sim.linkPath());
  }

  std::vector<std::string> commandsSince(std::size_t from) const {
    auto log = sim.commandLog();
    return {log.begin() + static_cast<long>(std::min(from, log.size())), log.end()};
  }
  // The state the simulator stored on its last AT&W0.
  nlohmann::json storedState() const {
    std::ifstream in(m_statePath);
    return nlohmann::json::parse(in);
  }
  const std::string& statePath() const { return m_statePath; }

 private:
  static std::string WriteState(const TempDir& dir, const nlohmann::json& state) {
    const std::string path = (dir.path() / "ta-state.json").string();
    std::ofstream(path) << (state.is_null() ? nlohmann::json::object() : state).dump();
    return path;
  }
  static std::vector<std::string> WithState(std::vector<std::string> args,
                                            const std::string& path) {
    args.insert(args.end(), {"--state", path});
    return args;
  }

  TempDir m_dir;
  std::string m_statePath;

 public:
  SimProcess sim;
  ConsoleDialogs dialogs{nullptr, 0};
  BlockingBurstWaiter waiter;
  LinkOwner owner;
};

}  // namespace m2::test
