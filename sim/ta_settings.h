#pragma once
// The TA's configuration as the simulator keeps it, in the TA's own codings: one integer
// per setting item ("$P1", "@C2", "@B", "S65", ...) and one text per address or list
// entry ("$Z0", "@A1", "$X3", ...). The set commands change it (ERROR for a malformed
// command or a value out of range), the listing commands show it, AT&F takes the factory
// values and AT&W0 stores it to the state file, from which the simulator starts.
//
// The echo, quiet and verbose modes (E, Q, V) belong to the TaModel; they are listed,
// reset and stored with the rest.
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "ta_model.h"

namespace m2::sim {

struct TaSettings {
  std::map<std::string, int> values;
  std::map<std::string, std::string> texts;

  static TaSettings Factory();
};

// Adds ATX, AT&C/&D/&K/&Q/&S, AT$R, AT@B, AT@G, the per-port $ and @ items, ATSn=v,
// the address and list commands with their listings, AT&V0, AT&F and AT&W0.
// statePath may be empty: AT&W0 then stores nothing and answers OK.
void RegisterSettingsCommands(TaModel& ta, TaSettings& settings, std::string statePath);

// The state as JSON: every item and text, plus "E", "Q" and "V".
nlohmann::json StateToJson(const TaModel& ta, const TaSettings& settings);
// Applies the items present in the JSON over the current state. Throws
// std::runtime_error naming the offending key for an unknown key or a wrong type.
void ApplyState(const nlohmann::json& state, TaModel& ta, TaSettings& settings);

// Loads the state file when it exists; a missing file leaves the factory state.
void LoadStateFile(const std::string& path, TaModel& ta, TaSettings& settings);
bool SaveStateFile(const std::string& path, const TaModel& ta, const TaSettings& settings);

// The listings as the TA sends them (without echo and final result code).
std::string SettingsListing(const TaModel& ta, const TaSettings& settings);

}  // namespace m2::sim
