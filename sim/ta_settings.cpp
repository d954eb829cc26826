#include "ta_settings.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>

namespace m2::sim {
namespace {

// How an item family's commands look after "AT".
enum class Form {
  PerPort,  // "$P1=0": port digit, "=", value
  Single,   // "&K1": the value right after the prefix
};

struct Family {
  std::string_view prefix;
  Form form;
  std::array<bool, 3> ports;  // PerPort: the ports that have the item
  int min, max;
  std::array<int, 3> factory;  // by port; Single uses [0]
};

constexpr std::array<Family, 22> kFamilies{{
    {"$P", Form::PerPort, {true, true, true}, 0, 1, {1, 1, 1}},
    {"$G", Form::PerPort, {true, true, true}, 0, 1, {1, 1, 1}},
    {"$I", Form::PerPort, {true, true, true}, 0, 1, {1, 1, 1}},
    {"$S", Form::PerPort, {true, true, true}, 0, 1, {0, 0, 0}},
    {"$H", Form::PerPort, {true, true, true}, 0, 1, {1, 1, 1}},  // 1: no HLC discrimination
    {"@P", Form::PerPort, {false, true, false}, 0, 1, {0, 0, 0}},
    {"@C", Form::PerPort, {false, true, true}, 1, 59, {0, 5, 5}},
    {"@T", Form::PerPort, {false, true, true}, 0, 3, {0, 0, 0}},
    {"@R", Form::PerPort, {false, true, true}, 0, 3, {0, 0, 0}},
    {"@I", Form::PerPort, {false, true, true}, 0, 1, {0, 0, 0}},
    {"@F", Form::PerPort, {false, true, true}, 0, 9, {0, 5, 5}},
    {"@H", Form::PerPort, {false, true, true}, 5, 20, {0, 10, 10}},
    {"@D", Form::PerPort, {false, true, true}, 0, 3, {0, 0, 0}},
    {"@B", Form::Single, {}, 0, 31, {0}},
    {"@G", Form::Single, {}, 0, 2, {0}},
    {"&Q", Form::Single, {}, 0, 1, {1}},
    {"$R", Form::Single, {}, 0, 1, {0}},
    {"&K", Form::Single, {}, 0, 2, {1}},
    {"&D", Form::Single, {}, 0, 3, {2}},
    {"&C", Form::Single, {}, 0, 1, {1}},
    {"&S", Form::Single, {}, 0, 2, {0}},
    {"X", Form::Single, {}, 0, 4, {1}},
}};

struct Register {
  int number;
  int factory;
};
// S0 automatic answer rings, S65/S66 HLC type, S80/S81 transfer rings; listed in hex.
constexpr std::array<Register, 5> kRegisters{{{0, 1}, {65, 0}, {66, 0}, {80, 2}, {81, 2}}};

enum class TextKind {
  Address,   // number, optionally "/" and a sub-address
  Transfer,  // the same, at most 32 characters in all
};

struct TextFamily {
  std::string_view prefix;
  int first, last;  // indexes
  TextKind kind;
};

constexpr std::array<TextFamily, 6> kTextFamilies{{
    {"$Z", 0, 2, TextKind::Address},   // own addresses of the ports
    {"@A", 1, 2, TextKind::Transfer},  // transfer destinations of TEL1, TEL2
    {"$X", 0, 9, TextKind::Address},   // TEL1 discriminating list
    {"$Y", 0, 9, TextKind::Address},   // TEL2 discriminating list
    {"&Z", 0, 9, TextKind::Address},   // DTE short-dial list
    {"$W", 0, 9, TextKind::Address},   // DTE discriminating list
}};

std::string ItemName(const Family& f, int port) {
  return f.form == Form::PerPort ? std::string(f.prefix) + static_cast<char>('0' + port)
                                 : std::string(f.prefix);
}
std::string RegisterName(int number) { return "S" + std::to_string(number); }
std::string TextName(const TextFamily& f, int index) {
  return std::string(f.prefix) + static_cast<char>('0' + index);
}

Reply Error() { return {"", Final::Error}; }

// Digits only, at most three of them.
std::optional<int> SmallNumber(std::string_view text) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  int v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

bool DialChars(std::string_view s) {
  for (char c : s)
    if (!((c >= '0' && c <= '9') || c == '*' || c == '#')) return false;
  return true;
}

bool ValidText(std::string_view text, TextKind kind) {
  const auto slash = text.find('/');
  const std::string_view number = text.substr(0, slash);
  const std::string_view sub =
      slash == std::string_view::npos ? std::string_view{} : text.substr(slash + 1);
  if (number.size() > 32 || sub.size() > 19 || !DialChars(number) || !DialChars(sub)) return false;
  return kind != TextKind::Transfer || text.size() <= 32;
}

Reply SetItem(TaSettings& s, const Family& f, std::string_view args) {
  int port = 0;
  if (f.form == Form::PerPort) {
    if (args.size() < 2 || args[0] < '0' || args[0] > '2' || args[1] != '=') return Error();
    port = args[0] - '0';
    if (!f.ports[static_cast<std::size_t>(port)]) return Error();
    args.remove_prefix(2);
  }
  const auto v = SmallNumber(args);
  if (!v || *v < f.min || *v > f.max) return Error();
  s.values[ItemName(f, port)] = *v;
  return {};
}

Reply SetRegister(TaSettings& s, std::string_view args) {
  const auto eq = args.find('=');
  if (eq == std::string_view::npos) return Error();
  const auto number = SmallNumber(args.substr(0, eq));
  const auto value = SmallNumber(args.substr(eq + 1));
  if (!number || !value || *value > 255) return Error();
  for (const Register& r : kRegisters)
    if (r.number == *number) {
      s.values[RegisterName(r.number)] = *value;
      return {};
    }
  return Error();
}

// "" lists every index, "<i>" one, "<i>=<text>" sets (an empty text clears).
Reply TextCommand(TaSettings& s, const TextFamily& f, std::string_view args) {
  int from = f.first, to = f.last;
  if (!args.empty()) {
    if (args[0] < '0' + f.first || args[0] > '0' + f.last) return Error();
    from = to = args[0] - '0';
    if (args.size() > 1) {
      if (args[1] != '=' || !ValidText(args.substr(2), f.kind)) return Error();
      s.texts[TextName(f, from)] = std::string(args.substr(2));
      return {};
    }
  }
  std::string text;
  for (int i = from; i <= to; ++i)
    text += "\r\n" + std::to_string(i) + ":" + s.texts[TextName(f, i)];
  text += "\r\n";
  return {text};
}

void Reset(TaModel& ta, TaSettings& s) {
  s = TaSettings::Factory();
  ta.echo = true;
  ta.quiet = false;
  ta.verbose = true;
}

}  // namespace

TaSettings TaSettings::Factory() {
  TaSettings s;
  for (const Family& f : kFamilies) {
    if (f.form == Form::Single) {
      s.values[ItemName(f, 0)] = f.factory[0];
      continue;
    }
    for (int p = 0; p < 3; ++p)
      if (f.ports[static_cast<std::size_t>(p)])
        s.values[ItemName(f, p)] = f.factory[static_cast<std::size_t>(p)];
  }
  for (const Register& r : kRegisters) s.values[RegisterName(r.number)] = r.factory;
  for (const TextFamily& f : kTextFamilies)
    for (int i = f.first; i <= f.last; ++i) s.texts[TextName(f, i)] = "";
  return s;
}

// Laid out so that the first "E", "Q" and "X" of the reply are the items themselves (the
// echo "AT&V0" holds none of them, and "Q" comes before "&Q"), and " V" has its space.
std::string SettingsListing(const TaModel& ta, const TaSettings& s) {
  auto value = [&](const std::string& name) {
    auto it = s.values.find(name);
    return it == s.values.end() ? 0 : it->second;
  };
  std::string text = "\r\n";
  text += "E" + std::to_string(ta.echo ? 1 : 0) + " Q" + std::to_string(ta.quiet ? 1 : 0) + " V" +
          std::to_string(ta.verbose ? 1 : 0);
  for (const Family& f : kFamilies)
    if (f.form == Form::Single)
      text += " " + ItemName(f, 0) + std::to_string(value(ItemName(f, 0)));
  for (int p = 0; p < 3; ++p) {
    text += "\r\n";
    bool first = true;
    for (const Family& f : kFamilies) {
      if (f.form != Form::PerPort || !f.ports[static_cast<std::size_t>(p)]) continue;
      if (!first) text += ' ';
      first = false;
      text += ItemName(f, p) + "=" + std::to_string(value(ItemName(f, p)));
    }
  }
  text += "\r\n";
  for (std::size_t i = 0; i < kRegisters.size(); ++i) {
    char reg[32];
    std::snprintf(reg, sizeof reg, "%sS%d:%02XH", i ? " " : "", kRegisters[i].number,
                  static_cast<unsigned>(value(RegisterName(kRegisters[i].number))) & 0xFFu);
    text += reg;
  }
  text += "\r\n";
  return text;
}

void RegisterSettingsCommands(TaModel& ta, TaSettings& settings, std::string statePath) {
  for (const Family& f : kFamilies)
    ta.addCommand(std::string(f.prefix), [&settings, &f](TaModel&, std::string_view args) {
      return SetItem(settings, f, args);
    });
  ta.addCommand(
      "S", [&settings](TaModel&, std::string_view args) { return SetRegister(settings, args); });
  for (const TextFamily& f : kTextFamilies)
    ta.addCommand(std::string(f.prefix), [&settings, &f](TaModel&, std::string_view args) {
      return TextCommand(settings, f, args);
    });
  ta.addCommand("&V", [&settings](TaModel& t, std::string_view args) {
    if (!args.empty() && args != "0") return Error();
    return Reply{SettingsListing(t, settings)};
  });
  ta.addCommand("&F", [&settings](TaModel& t, std::string_view args) {
    if (!args.empty() && args != "0") return Error();
    Reset(t, settings);
    return Reply{};
  });
  ta.addCommand("&W", [&settings, path = std::move(statePath)](TaModel& t, std::string_view args) {
    if (!args.empty() && args != "0") return Error();
    if (path.empty()) return Reply{};
    return SaveStateFile(path, t, settings) ? Reply{} : Error();
  });
}

nlohmann::json StateToJson(const TaModel& ta, const TaSettings& s) {
  nlohmann::json j = nlohmann::json::object();
  j["E"] = ta.echo ? 1 : 0;
  j["Q"] = ta.quiet ? 1 : 0;
  j["V"] = ta.verbose ? 1 : 0;
  for (const auto& [name, value] : s.values) j[name] = value;
  for (const auto& [name, text] : s.texts) j[name] = text;
  return j;
}

void ApplyState(const nlohmann::json& state, TaModel& ta, TaSettings& s) {
  if (!state.is_object()) throw std::runtime_error("the state is not a JSON object");
  for (const auto& [key, value] : state.items()) {
    bool* mode = key == "E"   ? &ta.echo
                 : key == "Q" ? &ta.quiet
                 : key == "V" ? &ta.verbose
                              : nullptr;
    if (mode) {
      if (!value.is_number_integer())
        throw std::runtime_error("state key " + key + ": not an integer");
      *mode = value.get<int>() != 0;
    } else if (s.values.count(key)) {
      if (!value.is_number_integer())
        throw std::runtime_error("state key " + key + ": not an integer");
      s.values[key] = value.get<int>();
    } else if (s.texts.count(key)) {
      if (!value.is_string()) throw std::runtime_error("state key " + key + ": not a string");
      s.texts[key] = value.get<std::string>();
    } else {
      throw std::runtime_error("unknown state key " + key);
    }
  }
}

void LoadStateFile(const std::string& path, TaModel& ta, TaSettings& settings) {
  std::ifstream in(path);
  if (!in) return;
  nlohmann::json state;
  try {
    state = nlohmann::json::parse(in);
  } catch (const nlohmann::json::exception& e) {
    throw std::runtime_error(path + ": " + e.what());
  }
  ApplyState(state, ta, settings);
}

bool SaveStateFile(const std::string& path, const TaModel& ta, const TaSettings& settings) {
  const std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::trunc);
    out << StateToJson(ta, settings).dump(1) << '\n';
    if (!out.flush()) return false;
  }
  std::error_code ec;
  std::filesystem::rename(tmp, path, ec);
  return !ec;
}

}  // namespace m2::sim
