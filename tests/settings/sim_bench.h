#pragma once
// A link owner talking to a fresh m2sim over a real pseudo-terminal. The simulator starts
// from the given settings state (TA codings, see sim/ta_settings.h) and stores to the same
// file on AT&W0, so a test can read back what the TA was left with.
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/scratch_dir.h"
#include "support/ta_bench.h"

namespace m2::test {

// Written before the simulator starts, so it is a base that comes first.
struct StateFile {
  explicit StateFile(const nlohmann::json& state) : path(dir.file("ta-state.json")) {
    std::ofstream(path) << (state.is_null() ? nlohmann::json::object() : state).dump();
  }
  ScratchDir dir;
  std::string path;
};

class SimBench : private StateFile, public TaBench {
 public:
  explicit SimBench(const nlohmann::json& state = nlohmann::json::object(),
                    std::vector<std::string> extraArgs = {})
      : StateFile(state), TaBench(WithState(std::move(extraArgs), StateFile::path)) {}

  // The state the simulator stored on its last AT&W0.
  nlohmann::json storedState() const {
    std::ifstream in(StateFile::path);
    return nlohmann::json::parse(in);
  }
  const std::string& statePath() const { return StateFile::path; }

 private:
  static std::vector<std::string> WithState(std::vector<std::string> args, const std::string& path) {
    args.insert(args.end(), {"--state", path});
    return args;
  }
};

}  // namespace m2::test
