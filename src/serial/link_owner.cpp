#include "serial/link_owner.h"

#include <cstdio>

#include "serial/classify_response.h"
#include "serial/error_table.h"
#include "serial/extract_field.h"

namespace m2 {

LinkOwner::LinkOwner(UserDialogs& dialogs, BurstWaiter& waiter, Milliseconds silence)
    : m_dialogs(dialogs), m_waiter(waiter), m_silence(silence),
      m_portSource([] { return PortSettings{}; }) {}

LinkOwner::~LinkOwner() { m_link.ReleasePort(); }

AtResult LinkOwner::AtTransact(std::string_view command, int lenient, int* resultSlot,
                               AtSession* session) {
  AtSession own;
  AtSession& s = session ? *session : own;
  s.setCommand(command);
  return AtTransact(s, lenient, resultSlot);
}

void LinkOwner::Interrupt() {
  m_interrupted = true;
  m_link.mailbox().wakeEngine();
}

AtResult LinkOwner::AtTransact(AtSession& session, int lenient, int* resultSlot) {
  if (stopRequested()) return kAtFailed;
  ForgetVanishedDevice();
  if (connected == 0 && ConnectTa(kDisplayMessageBox, nullptr, nullptr, 1) != 1) return kAtFailed;
  session.responseLength = 0;
  session.response[0] = '\0';
  m_link.mailbox().beginTransaction();
  std::string_view command = session.commandText();
  m_link.Write(command.data(), command.size());  // a lost command ends in the silence time-out
  return CollectReply(session, lenient, resultSlot);
}

AtResult LinkOwner::FailWith(int code, int displayMode, int* resultSlot) {
  int answer = ReportError(code, displayMode);
  if (resultSlot) *resultSlot = answer;
  return kAtFailed;
}

AtResult LinkOwner::CollectReply(AtSession& session, int lenient, int* resultSlot) {
  using Clock = RxMailbox::Clock;
  RxMailbox& mailbox = m_link.mailbox();
  const int displayMode = resultSlot ? kDisplayStartup : kDisplayMessageBox;
  bool dataSeen = false;
  AtResult result = kAtFailed;
  for (;;) {
    timeoutFlag = 0;
    const Clock::time_point deadline = Clock::now() + m_silence;
    while (!mailbox.ready()) {
      if (stopRequested()) {
        mailbox.endTransaction();
        return kAtFailed;
      }
      if (Clock::now() >= deadline) timeoutFlag = 1;
      if (timeoutFlag == 1) {
        if (restoringModes == 1 || m_quietTa || (dataSeen && lenient))
          result = kAtSilence;
        else
          result = FailWith(err::kTimeout, displayMode, resultSlot);
        mailbox.endTransaction();
        return result;
      }
      m_waiter.waitForBurst(mailbox, deadline);
    }
    dataSeen = true;
    const int length = mailbox.length();
    const std::uint8_t* data = mailbox.data();
    for (int i = 0; i < length; ++i) {
      session.response[static_cast<std::size_t>(session.responseLength++)] =
          static_cast<char>(data[i]);
      if (session.responseLength + 1 > static_cast<int>(AtSession::kResponseSize)) {
        session.response[AtSession::kResponseSize - 1] = '\0';
        session.responseLength = AtSession::kResponseSize - 1;
        result = FailWith(err::kTimeout, displayMode, resultSlot);
        mailbox.endTransaction();
        return result;
      }
    }
    session.response[static_cast<std::size_t>(session.responseLength)] = '\0';
    mailbox.take();
    const int kind = ClassifyResponse(session.responseText(), session.commandText(), lenient != 0);
    if (kind == kNoFinalResult) continue;
    if (kind == 1 || kind == 2)
      result = FailWith(err::kErrorStatus, displayMode, resultSlot);
    else
      result = static_cast<AtResult>(kind);
    mailbox.endTransaction();
    return result;
  }
}

int LinkOwner::ReportError(int code, int displayMode, std::string_view detail) {
  int answer = 0;
  if (displayMode == kDisplayStartup)
    answer = m_dialogs.askStartupQuit(ErrorMessageText(code), detail) == 1 ? 1 : 0;
  else
    m_dialogs.showMessage(ErrorMessageText(code), detail);
  lastErrorCode = code;
  return answer;
}

int LinkOwner::MessageBox(int code, const char* detail) {
  std::string text(ErrorMessageText(code));
  if (detail) text += "(" + std::string(detail) + ")";
  return m_dialogs.showMessage(text);
}

int LinkOwner::ExtractField(std::string_view text, std::string_view key, int delimiterSet,
                            int checkKind, std::string& destination) {
  destination.clear();
  auto value = ExtractFieldValue(text, key, delimiterSet, checkKind);
  if (!value) {
    ReportError(err::kUnrecognised, kDisplayMessageBox);
    return 0;
  }
  destination = std::move(*value);
  return 1;
}

}  // namespace m2
