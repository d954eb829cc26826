#include "setup_ui/setup_main_dialog.h"

namespace m2::setup {

// The status dialogs, the simple terminal and the version dialog.
void SetupMainDialog::RunStatusDialog(StatusKind kind) {
  switch (kind) {
    case StatusKind::Charges:
    case StatusKind::CallStatus:
    case StatusKind::LineStatus:
      break;
  }
}

void SetupMainDialog::OpenTerminal() {}

void SetupMainDialog::ShowAbout() {}

}  // namespace m2::setup
