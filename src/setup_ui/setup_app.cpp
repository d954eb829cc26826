#include "setup_ui/setup_app.h"

#include "setup_ui/setup_main_dialog.h"

namespace m2::setup {

int SetupApp::Run() {
  SetupMainDialog dialog;
  dialog.exec();
  return 0;
}

}  // namespace m2::setup
