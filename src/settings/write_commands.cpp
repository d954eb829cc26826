#include "settings/write_commands.h"

#include <utility>

#include "serial/at_commands.h"

namespace m2 {
namespace {

// Collects what each builder writes into the session's command field. A text that does
// not fit is kept as the builder left it (without its CR), so the sender can refuse it.
class Collector {
 public:
  AtSession& session() { return m_session; }
  void take() { m_commands.emplace_back(m_session.commandText()); }
  CommandList done() { return std::exchange(m_commands, {}); }

 private:
  AtSession m_session;
  CommandList m_commands;
};

void AnalogPort(Collector& c, int n, const AnalogPortSettings& p) {
  AtSession& s = c.session();
  BuildS65(s, n, p.m_nHlcType);
  c.take();
  BuildNumberEntry(s, AtCmd::DollarZSet, n, p.m_strOwnAddress, p.m_strOwnSubAddress);
  c.take();
  BuildNumeric(s, AtCmd::DollarP, n, p.m_bNotifyCallerNumber);
  c.take();
  if (n == 1) {  // TEL2 has no polarity reversal
    BuildNumeric(s, AtCmd::AtP, n, p.m_bPolarityReversal);
    c.take();
  }
  BuildNumeric(s, AtCmd::DollarG, n, p.m_bGlobalIncoming);
  c.take();
  BuildNumeric(s, AtCmd::DollarI, n, p.m_bIncomingNoSubAddress);
  c.take();
  BuildNumeric(s, AtCmd::DollarS, n, p.m_bDiscriminateIncoming);
  c.take();
  BuildDollarH(s, n, p.m_bHlcDiscriminate);
  c.take();
  BuildNumeric(s, AtCmd::AtC, n, p.m_nDialDigitTimer);
  c.take();
  BuildNumeric(s, AtCmd::AtT, n, p.m_nTransmitPad);
  c.take();
  BuildNumeric(s, AtCmd::AtR, n, p.m_nReceivePad);
  c.take();
}

}  // namespace

bool CommandFits(const std::string& command) { return !command.empty() && command.back() == '\r'; }

CommandList AnalogSheetCommands(const AnalogPortSettings& tel1, const AnalogPortSettings& tel2,
                                const PortCommonSettings& common) {
  Collector c;
  AnalogPort(c, 1, tel1);
  AnalogPort(c, 2, tel2);
  AtSession& s = c.session();
  BuildAtB(s, common.m_bCallWaiting == 1, common.m_nCallWaitingType, common.m_bTransferDuringCall,
           common.m_bThreePartyCall, common.m_bIncomingTransfer);
  c.take();
  BuildNumeric(s, AtCmd::AtG, common.m_nPriorityIncoming);
  c.take();
  return c.done();
}

CommandList FlexSheetCommands(int port, const FlexphoneSettings& flex) {
  Collector c;
  AtSession& s = c.session();
  BuildNumeric(s, AtCmd::AtI, port, flex.m_bCwBusyIncoming);
  c.take();
  BuildNumeric(s, AtCmd::AtF, port, flex.m_nHookAcceptTime);
  c.take();
  BuildNumeric(s, AtCmd::AtH, port, flex.m_nHookDetectTime);
  c.take();
  BuildText(s, AtCmd::AtASet, port, flex.m_strTransferAddress);
  c.take();
  BuildAtD(s, port, flex.m_bTransferTalk, flex.m_bTransferSourceTalk);
  c.take();
  BuildS80(s, port, flex.m_nTransferStart == 1, flex.m_nTransferRings);
  c.take();
  return c.done();
}

DataSheetCommandParts DataSheetCommands(const DataPortSettings& gen, const DataFlowSettings& flow,
                                        const DataAtSettings& at) {
  Collector c;
  AtSession& s = c.session();
  BuildNumeric(s, AtCmd::AndQ, gen.m_nProtocol);
  c.take();
  BuildNumberEntry(s, AtCmd::DollarZSet, 0, gen.m_strOwnAddress, gen.m_strOwnSubAddress);
  c.take();
  BuildNumeric(s, AtCmd::DollarP, 0, gen.m_bNotifyCallerNumber);
  c.take();
  BuildNumeric(s, AtCmd::DollarG, 0, gen.m_bGlobalIncoming);
  c.take();
  BuildNumeric(s, AtCmd::DollarI, 0, gen.m_bIncomingNoSubAddress);
  c.take();
  BuildDollarH(s, 0, gen.m_bHlcDiscriminate);
  c.take();
  BuildNumeric(s, AtCmd::DollarS, 0, gen.m_bDiscriminateIncoming);
  c.take();
  BuildNumeric(s, AtCmd::DollarR, gen.m_bCallbackIncoming);
  c.take();
  BuildS0(s, gen.m_nAutoAnswer == 1, gen.m_nAnswerRings);
  c.take();
  BuildNumeric(s, AtCmd::AndK, flow.m_nFlowControl);
  c.take();
  BuildNumeric(s, AtCmd::AndD, flow.m_nErSignal);
  c.take();
  BuildNumeric(s, AtCmd::AndC, flow.m_nCdSignal);
  c.take();
  BuildDsrControl(s, flow.m_nDrSignal);
  c.take();
  BuildNumeric(s, AtCmd::E, at.m_bEcho);
  c.take();
  DataSheetCommandParts parts;
  parts.beforeModes = c.done();
  BuildNumeric(s, AtCmd::X, at.m_nCodeSet);
  c.take();
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
