#include "update_ui/update_app.h"

#include <QDir>

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
  dialog.exec();
  return 0;
}

}  // namespace m2::update_ui
