#include "serial/status_queries.h"

#include <charconv>
#include <cstdio>
#include <string>

#include "serial/at_commands.h"
#include "serial/cause_table.h"
#include "serial/extract_field.h"

namespace m2 {
namespace {

constexpr int kDelimCr = 1;
constexpr int kCheckDecimal = 2;
constexpr int kCheckHex2 = 3;

bool ValidItem(int item) { return item >= 0 && item <= 2; }

// Sends the bare or numbered form; false when the transaction failed or the item is bad.
bool SendPortQuery(LinkOwner& owner, AtSession& session, AtCmd cmd, int allPorts, int item) {
  BuildList(session, cmd, allPorts, item);
  if (owner.AtTransact(session, 0, nullptr) == kAtFailed) return false;
  return allPorts || ValidItem(item);
}

// Calls parse(item, field) for each item asked for, in ascending order.
template <typename Parse>
bool ForEachItem(LinkOwner& owner, const AtSession& session, int allPorts, int item,
                 int checkKind, Parse parse) {
  for (int i = 0; i <= 2; ++i) {
    if (!allPorts && i != item) continue;
    std::string key = "\r\n" + std::to_string(i) + ":";
    std::string field;
    if (owner.ExtractField(session.responseText(), key, kDelimCr, checkKind, field) != 1)
      return false;
    parse(i, field);
  }
  return true;
}

int QueryCharges(LinkOwner& owner, AtCmd cmd, int allPorts, int item, ChargeCounts& counts) {
  counts.yen = {-1, -1, -1};
  AtSession session;
  if (!SendPortQuery(owner, session, cmd, allPorts, item)) return 0;
  return ForEachItem(owner, session, allPorts, item, kCheckDecimal,
                     [&](int i, const std::string& field) {
                       std::int64_t yen = -1;
                       const auto [end, ec] =
                           std::from_chars(field.data(), field.data() + field.size(), yen);
                       if (ec == std::errc{} && end == field.data() + field.size())
                         counts.yen[static_cast<std::size_t>(SlotOfItem(i))] = yen;
                     })
             ? 1
             : 0;
}

int QueryRegister(LinkOwner& owner, int reg, long& value) {
  AtSession session;
  BuildNumeric(session, AtCmd::SQuery, reg);
  if (owner.AtTransact(session, 0, nullptr) == kAtFailed) return 0;
  std::string field;
  if (owner.ExtractField(session.responseText(), "\r\n", kDelimCr, kCheckDecimal, field) != 1)
    return 0;
  value = std::strtol(field.c_str(), nullptr, 10);
  return 1;
}

}  // namespace

int QueryLastCharges(LinkOwner& owner, int allPorts, int item, ChargeCounts& counts) {
  return QueryCharges(owner, AtCmd::DollarA, allPorts, item, counts);
}

int QueryTotalCharges(LinkOwner& owner, int allPorts, int item, ChargeCounts& counts) {
  return QueryCharges(owner, AtCmd::DollarB, allPorts, item, counts);
}

int ClearTotalCharges(LinkOwner& owner, int allPorts, int item) {
  AtSession session;
  BuildList(session, AtCmd::DollarD, allPorts, item);
  return owner.AtTransact(session, 0, nullptr) == kAtFailed ? 0 : 1;
}

int QueryCallStatus(LinkOwner& owner, AtSession& session, int allPorts, int item,
                    CauseTexts& causes) {
  for (auto& t : session.causeTexts) t.clear();
  for (std::size_t s = 0; s < 3; ++s) causes.text[s] = session.causeTexts[s];
  if (!SendPortQuery(owner, session, AtCmd::DollarC, allPorts, item)) return 0;
  bool ok = ForEachItem(owner, session, allPorts, item, kCheckHex2,
                        [&](int i, const std::string& field) {
                          const auto slot = static_cast<std::size_t>(SlotOfItem(i));
                          int value = HexByteValue(field);
                          session.causeTexts[slot] = CauseText(value < 0 ? 0 : value);
                          causes.text[slot] = session.causeTexts[slot];
                        });
  return ok ? 1 : 0;
}

int QueryLineStatus(LinkOwner& owner, LineState& state) {
  state = {};
  long value = 0;
  if (QueryRegister(owner, 112, value) != 1) return 0;
  state.layer1Sync = (value & 1) != 0;
  state.layer2Link = (value & 6) != 0;
  return 1;
}

int QuerySignalStatus(LinkOwner& owner, SignalState& state) {
  state = {};
  long value = 0;
  if (QueryRegister(owner, 115, value) != 1) return 0;
  state.er = value & 1;
  state.rs = value & 2;
  state.dr = value & 4;
  state.cs = value & 8;
  state.cd = value & 16;
  state.ci = value & 32;
  return 1;
}

}  // namespace m2
