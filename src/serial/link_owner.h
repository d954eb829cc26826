#pragma once
// LinkOwner: the state that owns the serial link to the TA in M2Setup, and the operations
// that run over it: one AT transaction (AtTransact), error reporting, field extraction,
// and the connection start with identification and result-code modes.
//
// A transaction writes the command and collects the reply burst by burst until it holds a
// final result code, or until the line has been silent for the silence time (3000 ms by
// default, every burst restarting it). Everything runs on the caller's thread; the waiter
// decides how that thread waits (a GUI keeps painting and drops user input).
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "serial/at_session.h"
#include "serial/scoped_flag.h"
#include "serial/serial_link.h"
#include "serial/ui_ports.h"

namespace m2 {

// Port index 0-3 (COM1-COM4), speed index 0-6, format index 0-3.
struct PortSettings {
  int portIndex = 0;
  int speedIndex = 2;
  int formatIndex = 0;
};

enum DisplayMode : int { kDisplayMessageBox = 0, kDisplayStartup = 1 };

class LinkOwner {
 public:
  using Milliseconds = std::chrono::milliseconds;
  static constexpr Milliseconds kDefaultSilence{3000};

  LinkOwner(UserDialogs& dialogs, BurstWaiter& waiter, Milliseconds silence = kDefaultSilence);
  ~LinkOwner();
  LinkOwner(const LinkOwner&) = delete;
  LinkOwner& operator=(const LinkOwner&) = delete;

  // Where a connection takes its port settings when the caller passes none.
  void setPortSettingsSource(std::function<PortSettings()> source) { m_portSource = std::move(source); }

  // --- transactions
  AtResult AtTransact(AtSession& session, int lenient, int* resultSlot);
  // Builds nothing: sends text (which must end in CR) through a session of its own.
  AtResult AtTransact(std::string_view command, int lenient, int* resultSlot,
                      AtSession* session = nullptr);

  int ReportError(int code, int displayMode, std::string_view detail = {});
  int MessageBox(int code, const char* detail = nullptr);  // leaves lastErrorCode alone
  // Reports error 9 when the field is missing or malformed.
  int ExtractField(std::string_view text, std::string_view key, int delimiterSet, int checkKind,
                   std::string& destination);

  // --- connection
  int ConnectTa(int displayMode, int* resultSlot, const PortSettings* settings, int identify);
  int Identify(int displayMode, int* resultSlot);
  void DisconnectTa(int restore);
  int RestoreResultModes();
  void RecordResultModes(int result);
  // A device that went away (unplugged, the other end closed) leaves the link marked as
  // connected; this closes it, so the next exchange connects again and reports what it finds
  // instead of waiting out the silence time on a dead port. Transactions do it themselves;
  // writers that bypass them (the simple terminal) call it first.
  void ForgetVanishedDevice();

  // Any thread (a signal watcher): ends the transaction in progress and fails every later
  // one, without a message, except those of leaving the TA. The operation then stops at its
  // failed transaction and leaves as after any failure, giving the TA its modes back.
  void Interrupt();
  bool interrupted() const { return m_interrupted.load(); }
  // Marks the transactions of leaving the TA, which an earlier interrupt leaves alone (they
  // are bounded by the silence time; a second interrupt is the program's own business).
  class Leaving : ScopedFlag {
   public:
    explicit Leaving(LinkOwner& owner) : ScopedFlag(owner.m_leaving) {}
  };

  // A TA given back its quiet mode (ATQ1) answers nothing: while one of these lives (with
  // quiet true), silence ends a transaction as its expected answer (kAtSilence), without a
  // message. An error reply still fails.
  class QuietTa : ScopedFlag {
   public:
    QuietTa(LinkOwner& owner, bool quiet) : ScopedFlag(owner.m_quietTa, quiet) {}
  };

  SerialLink& link() { return m_link; }
  UserDialogs& dialogs() { return m_dialogs; }
  Milliseconds silence() const { return m_silence; }

  int connected = 0;
  int timeoutFlag = 0;
  int restoringModes = 0;
  int lastErrorCode = 0;
  int resultCodesWereOn = 0;
  int verboseWasOn = 0;
  std::string taMakerText;
  std::string taVersionText;

 private:
  AtResult CollectReply(AtSession& session, int lenient, int* resultSlot);
  bool stopRequested() const { return m_interrupted.load() && !m_leaving; }
  AtResult FailWith(int code, int displayMode, int* resultSlot);

  UserDialogs& m_dialogs;
  BurstWaiter& m_waiter;
  Milliseconds m_silence;
  std::function<PortSettings()> m_portSource;
  std::atomic<bool> m_interrupted{false};
  bool m_leaving = false;
  bool m_quietTa = false;
  bool m_connecting = false;
  SerialLink m_link;
};

}  // namespace m2
