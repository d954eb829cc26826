#pragma once
// SetupApp: M2Setup's application object. It runs the main dialog modally; the program
// ends when the dialog closes. The settings file and the COMn links are looked up in the
// current directory (the per-user folder when started from the menu: ui_common/launch_options.h).
// SIGTERM, SIGHUP and SIGINT close it as its close box does, without questions (see
// ui_common/termination_signals.h).
namespace m2::setup {

class SetupApp {
 public:
  int Run();
};

}  // namespace m2::setup
