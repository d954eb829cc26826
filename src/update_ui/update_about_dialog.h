#pragma once
// UpdateAboutDialog: the version information: the application icon, the program's name
// and version in a read-only field, two lines about it, and OK.
#include <QDialog>

namespace m2::update_ui {

class UpdateAboutDialog final : public QDialog {
 public:
  static constexpr int kVersionField = 1201;

  UpdateAboutDialog(const QString& versionText, QWidget* parent);
};

}  // namespace m2::update_ui
