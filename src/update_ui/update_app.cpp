#include "update_ui/update_app.h"

#include <QDir>

#include "ui_common/termination_signals.h"
#include "update_ui/update_main_dialog.h"
#include "update_ui/update_strings.h"

namespace m2::update_ui {

QString UpdateApp::HelpFilePath() {
  const QString name = UpdateString(str::kHelpFileName);
  const QString dir = QDir::currentPath();
  return dir.isEmpty() ? name : dir + QLatin1Char('/') + name;
}

int UpdateApp::Run(const QString& downloadPath) {
  UpdateMainDialog dialog(HelpFilePath());
  if (!downloadPath.isEmpty()) dialog.SetDownloadPath(downloadPath);
  // The progress dialog's reject is its close box: the transfer stops at once.
  const ui::TerminationSignals termination(
      &dialog, [&dialog] { dialog.done(QDialog::Rejected); },
      [&dialog] { dialog.senderLink().link().DropExclusivity(); });
  dialog.exec();
  return termination.exitCode();
}

}  // namespace m2::update_ui
