#include <QApplication>

#include "setup_ui/setup_app.h"
#include "ui_common/app_font.h"
#include "ui_common/launch_options.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (!m2::ui::ApplyLaunchOptions(false)) return 2;
  m2::ui::InstallDialogFont(app);
  m2::setup::SetupApp setup;
  return setup.Run();
}
