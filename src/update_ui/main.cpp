#include <QApplication>

#include "ui_common/app_font.h"
#include "update_ui/update_app.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  m2::ui::InstallDialogFont(app);
  m2::update_ui::UpdateApp update;
  return update.Run();
}
