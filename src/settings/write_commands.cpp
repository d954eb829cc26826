#include "settings/write_commands.h"

#include <utility>

#include "serial/at_commands.h"

namespace m2 {
namespace {

// The ranges a setting must lie in to be sent: what the settings record holds for it.
constexpr bool Flag(int v) { return v == 0 || v == 1; }
constexpr bool Choice(int v, int count) { return v >= 0 && v < count; }
constexpr bool Amount(int v) { return v >= 0; }  // sent as is: decimal, no sign
// A ring count goes out only when its enabling choice is 1.
constexpr bool RingSetting(int enabled, int rings) {
  return Choice(enabled, 2) && (enabled != 1 || Amount(rings));
}

// Collects what each builder writes into the session's command field. A text that does
// not fit is kept as the builder left it (without its CR), so the sender can refuse it; a
// setting out of its range leaves an empty text, which the sender refuses too.
class Collector {
 public:
  AtSession& session() { return m_session; }
  void take(bool inRange = true) {
    m_commands.emplace_back(inRange ? m_session.commandText() : std::string_view{});
  }
  CommandList done() { return std::exchange(m_commands, {}); }

 private:
  AtSession m_session;
  CommandList m_commands;
};

void AnalogPort(Collector& c, int n, const AnalogPortSettings& p) {
  AtSession& s = c.session();
  BuildS65(s, n, p.m_nHlcType);
  c.take(Choice(p.m_nHlcType, 3));
  BuildNumberEntry(s, AtCmd::DollarZSet, n, p.m_strOwnAddress, p.m_strOwnSubAddress);
  c.take();
  BuildNumeric(s, AtCmd::DollarP, n, p.m_bNotifyCallerNumber);
  c.take(Flag(p.m_bNotifyCallerNumber));
  if (n == 1) {  // TEL2 has no polarity reversal
    BuildNumeric(s, AtCmd::AtP, n, p.m_bPolarityReversal);
    c.take(Flag(p.m_bPolarityReversal));
  }
  BuildNumeric(s, AtCmd::DollarG, n, p.m_bGlobalIncoming);
  c.take(Flag(p.m_bGlobalIncoming));
  BuildNumeric(s, AtCmd::DollarI, n, p.m_bIncomingNoSubAddress);
  c.take(Flag(p.m_bIncomingNoSubAddress));
  BuildNumeric(s, AtCmd::DollarS, n, p.m_bDiscriminateIncoming);
  c.take(Flag(p.m_bDiscriminateIncoming));
  BuildDollarH(s, n, p.m_bHlcDiscriminate);
  c.take(Flag(p.m_bHlcDiscriminate));
  BuildNumeric(s, AtCmd::AtC, n, p.m_nDialDigitTimer);
  c.take(Amount(p.m_nDialDigitTimer));
  BuildNumeric(s, AtCmd::AtT, n, p.m_nTransmitPad);
  c.take(Choice(p.m_nTransmitPad, 4));
  BuildNumeric(s, AtCmd::AtR, n, p.m_nReceivePad);
  c.take(Choice(p.m_nReceivePad, 4));
}

}  // namespace

bool CommandFits(const std::string& command) { return !command.empty() && command.back() == '\r'; }

bool CommandPrintable(const std::string& command) {
  if (command.empty()) return false;
  for (std::size_t i = 0; i + 1 < command.size(); ++i) {
    const auto c = static_cast<unsigned char>(command[i]);
    if (c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

CommandList AnalogSheetCommands(const AnalogPortSettings& tel1, const AnalogPortSettings& tel2,
                                const PortCommonSettings& common) {
  Collector c;
  AnalogPort(c, 1, tel1);
  AnalogPort(c, 2, tel2);
  AtSession& s = c.session();
  BuildAtB(s, common.m_bCallWaiting == 1, common.m_nCallWaitingType, common.m_bTransferDuringCall,
           common.m_bThreePartyCall, common.m_bIncomingTransfer);
  c.take(Flag(common.m_bCallWaiting) && Choice(common.m_nCallWaitingType, 2) &&
         Flag(common.m_bTransferDuringCall) && Flag(common.m_bThreePartyCall) &&
         Flag(common.m_bIncomingTransfer));
  BuildNumeric(s, AtCmd::AtG, common.m_nPriorityIncoming);
  c.take(Choice(common.m_nPriorityIncoming, 3));
  return c.done();
}

CommandList FlexSheetCommands(int port, const FlexphoneSettings& flex) {
  Collector c;
  AtSession& s = c.session();
  BuildNumeric(s, AtCmd::AtI, port, flex.m_bCwBusyIncoming);
  c.take(Flag(flex.m_bCwBusyIncoming));
  BuildNumeric(s, AtCmd::AtF, port, flex.m_nHookAcceptTime);
  c.take(Amount(flex.m_nHookAcceptTime));
  BuildNumeric(s, AtCmd::AtH, port, flex.m_nHookDetectTime);
  c.take(Amount(flex.m_nHookDetectTime));
  BuildText(s, AtCmd::AtASet, port, flex.m_strTransferAddress);
  c.take();
  BuildAtD(s, port, flex.m_bTransferTalk, flex.m_bTransferSourceTalk);
  c.take(Flag(flex.m_bTransferTalk) && Flag(flex.m_bTransferSourceTalk));
  BuildS80(s, port, flex.m_nTransferStart == 1, flex.m_nTransferRings);
  c.take(RingSetting(flex.m_nTransferStart, flex.m_nTransferRings));
  return c.done();
}

DataSheetCommandParts DataSheetCommands(const DataPortSettings& gen, const DataFlowSettings& flow,
                                        const DataAtSettings& at) {
  Collector c;
  AtSession& s = c.session();
  BuildNumeric(s, AtCmd::AndQ, gen.m_nProtocol);
  c.take(Choice(gen.m_nProtocol, 2));
  BuildNumberEntry(s, AtCmd::DollarZSet, 0, gen.m_strOwnAddress, gen.m_strOwnSubAddress);
  c.take();
  BuildNumeric(s, AtCmd::DollarP, 0, gen.m_bNotifyCallerNumber);
  c.take(Flag(gen.m_bNotifyCallerNumber));
  BuildNumeric(s, AtCmd::DollarG, 0, gen.m_bGlobalIncoming);
  c.take(Flag(gen.m_bGlobalIncoming));
  BuildNumeric(s, AtCmd::DollarI, 0, gen.m_bIncomingNoSubAddress);
  c.take(Flag(gen.m_bIncomingNoSubAddress));
  BuildDollarH(s, 0, gen.m_bHlcDiscriminate);
  c.take(Flag(gen.m_bHlcDiscriminate));
  BuildNumeric(s, AtCmd::DollarS, 0, gen.m_bDiscriminateIncoming);
  c.take(Flag(gen.m_bDiscriminateIncoming));
  BuildNumeric(s, AtCmd::DollarR, gen.m_bCallbackIncoming);
  c.take(Flag(gen.m_bCallbackIncoming));
  BuildS0(s, gen.m_nAutoAnswer == 1, gen.m_nAnswerRings);
  c.take(RingSetting(gen.m_nAutoAnswer, gen.m_nAnswerRings));
  BuildNumeric(s, AtCmd::AndK, flow.m_nFlowControl);
  c.take(Choice(flow.m_nFlowControl, 3));
  BuildNumeric(s, AtCmd::AndD, flow.m_nErSignal);
  c.take(Choice(flow.m_nErSignal, 4));
  BuildNumeric(s, AtCmd::AndC, flow.m_nCdSignal);
  c.take(Choice(flow.m_nCdSignal, 2));
  BuildDsrControl(s, flow.m_nDrSignal);
  c.take(Flag(flow.m_nDrSignal));
  BuildNumeric(s, AtCmd::E, at.m_bEcho);
  c.take(Flag(at.m_bEcho));
  DataSheetCommandParts parts;
  parts.beforeModes = c.done();
  BuildNumeric(s, AtCmd::X, at.m_nCodeSet);
  c.take(Choice(at.m_nCodeSet, 5));
  parts.afterModes = c.done();
  return parts;
}

CommandList NumberSheetCommands(const NumberLists& lists) {
  struct ListCommand {
    const NumberList* list;
    AtCmd command;
  };
  const std::array<ListCommand, 4> order{{{&lists.discTel1, AtCmd::DollarXSet},
                                          {&lists.discTel2, AtCmd::DollarYSet},
                                          {&lists.shortDialData, AtCmd::AndZSet},
                                          {&lists.discData, AtCmd::DollarWSet}}};
  Collector c;
  for (const ListCommand& lc : order) {
    for (int i = 0; i < kNumberListSize; ++i) {
      const NumberEntry& e = lc.list->m_aEntry[static_cast<std::size_t>(i)];
      // An unused entry goes out in its clearing form, which empties the TA's position.
      if (e.m_bUsed != 0)
        BuildNumberEntry(c.session(), lc.command, i, e.m_strAddress, e.m_strSubAddress);
      else
        BuildNumberEntry(c.session(), lc.command, i, {}, {});
      c.take();
    }
  }
  return c.done();
}

}  // namespace m2
