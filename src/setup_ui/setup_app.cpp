#include "setup_ui/setup_app.h"

#include "setup_ui/setup_main_dialog.h"
#include "ui_common/termination_signals.h"

namespace m2::setup {

int SetupApp::Run() {
  SetupMainDialog dialog;
  const ui::TerminationSignals termination(
      &dialog, [&dialog] { dialog.Terminate(); }, [&dialog] { dialog.Abandon(); });
  dialog.exec();
  dialog.FinishLeaving();
  return termination.exitCode();
}

}  // namespace m2::setup
