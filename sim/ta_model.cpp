#include "ta_model.h"

#include <algorithm>
#include <cctype>

namespace m2::sim {
namespace {

// A single optional digit argument ("", "0", "1").
int FlagArg(std::string_view args, int fallback) {
  if (args.empty()) return 0;
  if (args.size() == 1 && (args[0] == '0' || args[0] == '1')) return args[0] - '0';
  return fallback;
}

}  // namespace

TaModel::TaModel() {
  addCommand("", [](TaModel&, std::string_view args) {
    return args.empty() ? Reply{} : Reply{"", Final::Error};
  });
  addCommand("E", [](TaModel& ta, std::string_view args) {
    int v = FlagArg(args, -1);
    if (v < 0) return Reply{"", Final::Error};
    ta.echo = v == 1;
    return Reply{};
  });
  addCommand("V", [](TaModel& ta, std::string_view args) {
    int v = FlagArg(args, -1);
    if (v < 0) return Reply{"", Final::Error};
    ta.verbose = v == 1;
    return Reply{};
  });
  // ATQ1 is itself answered with silence: the mode changes before the result is due.
  addCommand("Q", [](TaModel& ta, std::string_view args) {
    int v = FlagArg(args, -1);
    if (v < 0) return Reply{"", Final::Error};
    ta.quiet = v == 1;
    return Reply{};
  });
  addCommand("I", [](TaModel& ta, std::string_view args) {
    if (args.empty() || args == "0") return Reply{ta.infoLine(ta.identity.model)};
    if (args == "3") return Reply{ta.infoLine(ta.identity.version)};
    if (args == "4") return Reply{ta.infoLine(ta.identity.maker)};
    if (args == "9") {
      std::string text(ta.longReplySize, 'x');
      for (std::size_t i = 63; i < text.size(); i += 64) text[i] = '\n';
      return Reply{text};
    }
    return Reply{"", Final::Error};
  });
}

void TaModel::addCommand(std::string prefix, CommandHandler handler) {
  for (char& c : prefix) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  m_rows.push_back({std::move(prefix), std::move(handler)});
  std::stable_sort(m_rows.begin(), m_rows.end(), [](const CommandRow& a, const CommandRow& b) {
    return a.prefix.size() > b.prefix.size();
  });
}

std::string TaModel::infoLine(std::string_view text) const {
  std::string out;
  if (verbose) out += "\r\n";
  out += text;
  out += "\r\n";
  return out;
}

std::string TaModel::finalCode(Final f) const {
  if (quiet || f == Final::None) return {};
  switch (f) {
    case Final::Ok: return verbose ? "\r\nOK\r\n" : "0\r";
    case Final::Error: return verbose ? "\r\nERROR\r\n" : "4\r";
    case Final::NoCarrier: return verbose ? "\r\nNO CARRIER\r\n" : "3\r";
    case Final::None: return {};
  }
  return {};
}

Reply TaModel::dispatch(std::string_view body) {
  std::string upper(body);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const CommandRow& row : m_rows) {
    if (upper.compare(0, row.prefix.size(), row.prefix) == 0)
      return row.handler(*this, body.substr(row.prefix.size()));
  }
  return {"", Final::Error};
}

std::string TaModel::handleLine(std::string_view line) {
  commandLog.emplace_back(line);
  if (onCommand) onCommand(line);
  std::string out;
  if (echo) {
    out.append(line);
    out += '\r';
  }
  if (line.size() < 2 || std::toupper(static_cast<unsigned char>(line[0])) != 'A' ||
      std::toupper(static_cast<unsigned char>(line[1])) != 'T')
    return out;  // not a command: echoed, otherwise ignored
  Reply reply = dispatch(line.substr(2));
  out += reply.text;
  out += finalCode(reply.final);
  return out;
}

}  // namespace m2::sim
