#include "settings/config_write.h"

#include "serial/at_commands.h"
#include "serial/error_table.h"
#include "serial/link_owner.h"

namespace m2 {
namespace {

// Sends each command while the status is still 1; the first failure sets it to 0.
void Send(LinkOwner& link, AtSession& session, const CommandList& commands, int& status) {
  for (const std::string& command : commands) {
    if (status != 1) return;
    if (!command.empty() && !CommandFits(command)) {
      link.ReportError(kCommandTooLong, kDisplayMessageBox);
      status = 0;
      return;
    }
    if (!CommandPrintable(command)) {
      link.ReportError(err::kUnrecognised, kDisplayMessageBox);
      status = 0;
      return;
    }
    session.setCommand(command);
    if (link.AtTransact(session, 0, nullptr) == kAtFailed) status = 0;
  }
}

int Finish(CKB45mRXObj& record, int status) {
  if (status == 1) record.m_bTaChanged = 1;
  return status;
}

}  // namespace

int WriteAnalogSheet(LinkOwner& link, CKB45mRXObj& record, const AnalogPortSettings& tel1,
                     const AnalogPortSettings& tel2, const PortCommonSettings& common) {
  AtSession session;
  int status = 1;
  Send(link, session, AnalogSheetCommands(tel1, tel2, common), status);
  return Finish(record, status);
}

int WriteFlexSheet(LinkOwner& link, CKB45mRXObj& record, int port, const FlexphoneSettings& flex) {
  AtSession session;
  int status = 1;
  Send(link, session, FlexSheetCommands(port, flex), status);
  return Finish(record, status);
}

int WriteDataSheet(LinkOwner& link, CKB45mRXObj& record, const DataPortSettings& gen,
                   const DataFlowSettings& flow, const DataAtSettings& at) {
  AtSession session;
  int status = 1;
  const DataSheetCommandParts parts = DataSheetCommands(gen, flow, at);
  Send(link, session, parts.beforeModes, status);
  if (status == 1) {
    link.resultCodesWereOn = at.m_bResultCodes;
    link.verboseWasOn = at.m_nResultFormat == 1 ? 1 : 0;
  }
  Send(link, session, parts.afterModes, status);
  return Finish(record, status);
}

int WriteNumberSheet(LinkOwner& link, CKB45mRXObj& record, const NumberLists& lists) {
  AtSession session;
  int status = 1;
  Send(link, session, NumberSheetCommands(lists), status);
  return Finish(record, status);
}

int StoreInTa(LinkOwner& link, bool quietTa) {
  AtSession session;
  BuildNumeric(session, AtCmd::AndW, 0);
  const LinkOwner::QuietTa quiet(link, quietTa);
  return link.AtTransact(session, 1, nullptr) == kAtFailed ? 0 : 1;
}

}  // namespace m2
