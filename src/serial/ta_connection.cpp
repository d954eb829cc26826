// Connection start: opening the link, identifying the TA, switching its result codes on
// for our use, and giving its own modes back when we leave it.
#include "serial/at_commands.h"
#include "serial/error_table.h"
#include "serial/link_owner.h"
#include "serial/port_tables.h"

namespace m2 {
namespace {

constexpr std::string_view kModelText = "M-2KLX";
constexpr std::string_view kMakerLine = "ORVANTE M-2KLX QRB Corporation";

bool Accepted(AtResult r) { return r == kAtOk || r == kAtNumericOk || r == kAtSilence; }

}  // namespace

void LinkOwner::ForgetVanishedDevice() {
  // Not while connecting or restoring the modes: those transactions fail by themselves.
  if (connected == 1 && !m_connecting && restoringModes == 0 && m_link.deviceGone())
    DisconnectTa(0);
}

int LinkOwner::ConnectTa(int displayMode, int* resultSlot, const PortSettings* settings,
                         int identify) {
  ForgetVanishedDevice();
  if (connected == 1) DisconnectTa(1);
  m_connecting = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{m_connecting};
  const PortSettings ps = settings ? *settings : m_portSource();
  bool valid = ps.speedIndex >= 0 && ps.speedIndex < static_cast<int>(SpeedTable.size()) &&
               ps.formatIndex >= 0 && ps.formatIndex < static_cast<int>(FormatTable.size());
  const FormatEntry& format = FormatTable[valid ? static_cast<size_t>(ps.formatIndex) : 0];
  const std::uint32_t baud = SpeedTable[valid ? static_cast<size_t>(ps.speedIndex) : 0].baud;
  if (!valid || m_link.PreparePort(ps.portIndex + 1, baud, format.byteSize,
                                   static_cast<std::uint8_t>(format.parity),
                                   format.stopBits) != 1) {
    int answer = ReportError(err::kPortOpen, displayMode);
    if (resultSlot) *resultSlot = answer;
    return 0;
  }
  if (m_link.OpenPort() != 1) {
    int answer =
        ReportError(err::kPortOpen, displayMode, OpenFailureDetail(m_link.lastOpenFailure()));
    if (resultSlot) *resultSlot = answer;
    m_link.ReleasePort();
    return 0;
  }
  connected = 1;  // before identifying, so its transactions do not connect again
  if (identify == 1 && Identify(displayMode, resultSlot) != 1) {
    // An interrupted identification gives back what it changed; a failed one leaves the
    // modes as they are.
    DisconnectTa(interrupted() ? 1 : 0);
    return 0;
  }
  return 1;
}

int LinkOwner::Identify(int displayMode, int* resultSlot) {
  resultCodesWereOn = 1;
  verboseWasOn = 1;
  taMakerText.clear();
  taVersionText.clear();

  AtSession session;
  BuildIdentification(session, 0);
  AtResult r = AtTransact(session, 1, resultSlot);
  if (!Accepted(r)) return 0;
  RecordResultModes(r);
  if (session.responseText().find(kModelText) == std::string_view::npos) {
    int answer = ReportError(err::kDeviceName, displayMode);
    if (resultSlot) *resultSlot = answer;
    return 0;
  }
  if (resultCodesWereOn == 0) {
    MessageBox(err::kResultCodesOn);
    BuildResultCodes(session, 1);
    r = AtTransact(session, 1, resultSlot);
    if (!Accepted(r)) return 0;
    RecordResultModes(r);
  }
  if (verboseWasOn == 0) {
    BuildVerbose(session, 1);
    if (AtTransact(session, 1, resultSlot) == kAtFailed) return 0;
  }
  BuildIdentification(session, 4);
  if (AtTransact(session, 1, resultSlot) == kAtFailed) return 0;
  if (session.responseText().find(kMakerLine) == std::string_view::npos) {
    int answer = ReportError(err::kMakerName, displayMode);
    if (resultSlot) *resultSlot = answer;
    return 0;
  }
  if (ExtractField(session.responseText(), "\r\n", 1, 0, taMakerText) != 1) return 0;
  BuildIdentification(session, 3);
  if (AtTransact(session, 1, resultSlot) == kAtFailed) return 0;
  if (ExtractField(session.responseText(), "\r\n", 1, 0, taVersionText) != 1) return 0;
  return 1;
}

void LinkOwner::RecordResultModes(int result) {
  switch (result) {
    case kAtOk: verboseWasOn = 1; break;
    case kAtNumericOk: verboseWasOn = 0; break;
    case kAtSilence:
      resultCodesWereOn = 0;
      verboseWasOn = 0;
      break;
    default: break;
  }
}

void LinkOwner::DisconnectTa(int restore) {
  if (connected == 0) return;
  Leaving leaving(*this);
  if (restore == 1) RestoreResultModes();
  m_link.ClosePort();
  m_link.ReleasePort();
  connected = 0;
}

int LinkOwner::RestoreResultModes() {
  restoringModes = 1;
  AtSession session;
  if (verboseWasOn == 0) {
    BuildVerbose(session, 0);
    if (AtTransact(session, 1, nullptr) == kAtFailed) {
      restoringModes = 0;
      return 0;
    }
    verboseWasOn = 1;
  }
  if (resultCodesWereOn == 0) {
    MessageBox(err::kResultCodesOff);
    BuildResultCodes(session, 0);
    if (AtTransact(session, 1, nullptr) == kAtFailed) {
      if (lastErrorCode == err::kTimeout) resultCodesWereOn = 1;
      restoringModes = 0;
      return 0;
    }
    resultCodesWereOn = 1;
  }
  restoringModes = 0;
  return 1;
}

}  // namespace m2
