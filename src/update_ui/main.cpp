#include <QApplication>

#include "ui_common/app_font.h"
#include "ui_common/launch_options.h"
#include "update_ui/update_app.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const auto downloadPath = m2::ui::ApplyLaunchOptions(true);
  if (!downloadPath) return 2;
  m2::ui::InstallDialogFont(app);
  m2::update_ui::UpdateApp update;
  return update.Run(*downloadPath);
}
