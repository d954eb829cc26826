#pragma once
// How the core's messages reach the user in M2Setup: a message box with the application
// title and an OK button, or, while the program starts, the start-up error question.
#include "serial/ui_ports.h"

class QWidget;

namespace m2::setup {

class SetupUserDialogs final : public UserDialogs {
 public:
  explicit SetupUserDialogs(QWidget* owner) : m_owner(owner) {}
  int showMessage(std::string_view text, std::string_view detail = {}) override;
  int askStartupQuit(std::string_view text, std::string_view detail = {}) override;

 private:
  QWidget* parentWindow() const;
  QWidget* m_owner;
};

}  // namespace m2::setup
