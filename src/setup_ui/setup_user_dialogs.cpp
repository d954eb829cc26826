#include "setup_ui/setup_user_dialogs.h"

#include <QApplication>

#include "setup_ui/confirm_dialogs.h"
#include "setup_ui/setup_strings.h"
#include "ui_common/message_box.h"

namespace m2::setup {

// Over the window the user is working in (a sheet, a status dialog) when there is one.
QWidget* SetupUserDialogs::parentWindow() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return m_owner;
}

int SetupUserDialogs::showMessage(std::string_view text, std::string_view detail) {
  return ui::ShowOkMessage(parentWindow(), AppTitle(), ui::Qs(text), ui::Qs(detail));
}

int SetupUserDialogs::askStartupQuit(std::string_view text, std::string_view detail) {
  StartupErrorDialog dialog(ui::Qs(text), parentWindow(), ui::Qs(detail));
  return dialog.exec() == kIdOk ? 1 : 0;
}

}  // namespace m2::setup
