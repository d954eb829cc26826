#pragma once
// What every m2ctl command shares: the global options and a connection to the TA built
// from them (the link owner with console dialogs and a blocking waiter).
#include <CLI/CLI.hpp>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "cli/interrupt_watcher.h"
#include "serial/console_ui.h"
#include "serial/link_owner.h"
#include "settings/settings_record.h"

namespace m2::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct CliContext {
  std::string device;  // bypasses the COMn naming
  int port = 0;        // 1-4; 0 when not given
  unsigned speed = 0;  // 0 when not given
  std::string format;  // empty when not given
  std::string settingsPath = "M2SetupV100.dat";
  int silenceMs = 3000;
  int exitCode = kExitOk;

  // The explicit options laid over the given defaults.
  PortSettings portSettings(PortSettings defaults) const;
};

void AddGlobalOptions(CLI::App& app, CliContext& ctx);

// A link owner wired to the console and to the options' device. The port, speed and format
// are the options laid over the settings file's PC-port group (COM1 9600 8N1 without one).
// Ctrl-C and SIGTERM interrupt it (see interrupt_watcher.h): make it before any thread.
class TaConsole {
 public:
  explicit TaConsole(const CliContext& ctx);
  // Loads the settings file into record through this link (report 1: message 11 when it
  // cannot be loaded; report 0: the defaults) and takes the port defaults from it.
  // 1 when the file was loaded.
  int LoadSettings(CKB45mRXObj& record, int report);
  // Only the port defaults, from the file or the defaults.
  void UseSettingsFilePort();
  LinkOwner& owner() { return m_owner; }
  const PortSettings& settings() const { return m_settings; }
  ConsoleDialogs& dialogs() { return m_dialogs; }

 private:
  const CliContext& m_ctx;
  ConsoleDialogs m_dialogs;
  BlockingBurstWaiter m_waiter;
  PortSettings m_settings;
  LinkOwner m_owner;
  InterruptWatcher m_interrupts{m_owner};
};

}  // namespace m2::cli
