#pragma once
// M2Setup's main dialog against a fresh m2sim, run from the simulator's scratch directory
// (where the settings file and the COM1 link are looked up) with a short silence time.
// The core's messages go to recording console dialogs unless the real message boxes are
// asked for; the confirmation dialogs are answered by a ModalAnswerer.
#include <QDir>
#include <QTest>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "serial/console_ui.h"
#include "setup_ui/setup_main_dialog.h"
#include "support/sim_process.h"
#include "ui_support/modal_answerer.h"

namespace m2::test {

enum class Messages { Recorded, MessageBoxes };

class SetupBench {
 public:
  explicit SetupBench(std::vector<std::string> simArgs = {}, Messages messages = Messages::Recorded)
      : sim(std::move(simArgs)), m_oldDir(QDir::currentPath()) {
    QDir::setCurrent(QString::fromStdString(sim.dir()));
    setup::SetupOptions options;
    options.silence = std::chrono::milliseconds(300);
    if (messages == Messages::Recorded) options.dialogs = &dialogs;
    dialog = std::make_unique<setup::SetupMainDialog>(options);
  }
  ~SetupBench() {
    dialog.reset();
    QDir::setCurrent(m_oldDir);
  }
  SetupBench(const SetupBench&) = delete;
  SetupBench& operator=(const SetupBench&) = delete;

  // Shows the dialog and waits for its start-up connection attempt to end.
  bool open() {
    dialog->show();
    return QTest::qWaitFor([this] { return dialog->startupConnectDone(); }, 5000);
  }
  std::string file(const std::string& name) const { return sim.file(name); }

  SimProcess sim;
  ConsoleDialogs dialogs{nullptr, 0};
  ModalAnswerer answers;
  std::unique_ptr<setup::SetupMainDialog> dialog;

 private:
  QString m_oldDir;
};

}  // namespace m2::test
