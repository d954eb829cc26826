#include <QApplication>

#include "setup_ui/setup_app.h"
#include "ui_common/app_font.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  m2::ui::InstallDialogFont(app);
  m2::setup::SetupApp setup;
  return setup.Run();
}
