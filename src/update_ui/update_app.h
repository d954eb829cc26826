#pragma once
// UpdateApp: M2Update's application object. It finds the help file in the current
// directory and runs the main dialog modally; the program ends when the dialog closes. A
// download file named on the command line is put in the dialog's path edit; the COMn links
// are looked up in the current directory. SIGTERM, SIGHUP and SIGINT close it as its close
// boxes do, stopping a transfer, without questions.
#include <QString>

namespace m2::update_ui {

class UpdateApp {
 public:
  int Run(const QString& downloadPath = {});

  // The current directory and the help file's name; the bare name when the directory
  // cannot be read.
  static QString HelpFilePath();
};

}  // namespace m2::update_ui
