#include "setup_ui/call_status_dialog.h"
#include "setup_ui/charge_dialog.h"
#include "setup_ui/line_status_dialog.h"
#include "setup_ui/setup_about_dialog.h"
#include "setup_ui/setup_main_dialog.h"
#include "setup_ui/terminal_dialog.h"
#include "setup_ui/terminal_edit.h"
#include "setup_ui/terminal_feed.h"

namespace m2::setup {

// The status dialogs, the simple terminal and the version dialog.
void SetupMainDialog::RunStatusDialog(StatusKind kind) {
  switch (kind) {
    case StatusKind::Charges: {
      ChargeDialog dialog(m_link, this);
      dialog.exec();
      break;
    }
    case StatusKind::CallStatus: {
      CallStatusDialog dialog(m_link, this);
      dialog.exec();
      break;
    }
    case StatusKind::LineStatus: {
      LineStatusDialog dialog(m_link, this);
      dialog.exec();
      break;
    }
  }
}

void SetupMainDialog::OpenTerminal() {
  if (TerminalWindowPtr) {
    TerminalWindowPtr->show();
    TerminalWindowPtr->raise();
    TerminalWindowPtr->activateWindow();
    return;
  }
  if (!m_terminalFeed) m_terminalFeed = std::make_unique<TerminalFeed>();
  TerminalWindowPtr = new TerminalDialog(*this, *m_terminalFeed);
  TerminalWindowPtr->show();
  TerminalWindowPtr->activateWindow();
  TerminalWindowPtr->edit()->setLinkOwner(&m_link);
}

void SetupMainDialog::CloseTerminal() { delete TerminalWindowPtr; }

void SetupMainDialog::ShowAbout() {
  SetupAboutDialog dialog(*this, this);
  dialog.exec();
}

}  // namespace m2::setup
