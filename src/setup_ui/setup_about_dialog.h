#pragma once
// SetupAboutDialog: M2Setup's name and version, and the maker and firmware version of the TA
// as the last identification found them. It asks the TA nothing. Beside those it shows the
// folder the settings file is kept in, so that a user can find it to back it up.
#include <QDialog>
#include <QString>

namespace m2::setup {

class SetupMainDialog;

class SetupAboutDialog final : public QDialog {
 public:
  static constexpr int kUtilityField = 1607;
  static constexpr int kTaField = 1606;
  static constexpr int kNoticeLine = 1604;
  static constexpr int kFolderField = 1690;

  // The texts are taken from the main dialog now, as the dialog opens.
  SetupAboutDialog(SetupMainDialog& main, QWidget* parent);

 private:
  QString m_strUtility;
  QString m_strTa;
};

}  // namespace m2::setup
