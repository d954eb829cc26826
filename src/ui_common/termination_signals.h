#pragma once
// SIGTERM, SIGHUP (the desktop session ending) and SIGINT end a GUI program as its close box
// would, without questions. The handler only writes to an eventfd; a socket notifier reads
// it on the user-interface thread, so nothing runs in the handler but a write.
//
// The first signal closes every open dialog but the main window (reject(): what its close
// box does) and every dialog that opens afterwards, then calls `leave`, which must make the
// main window's event loop end and give the TA back what the program took, bounded by the
// silence time. A further signal calls `abandon` (free the port at once) and ends the
// program on the spot.
#include <QObject>
#include <functional>
#include <memory>

#include "serial/unique_fd.h"

class QSocketNotifier;
class QWidget;

namespace m2::ui {

class TerminationSignals final : public QObject {
 public:
  TerminationSignals(QWidget* mainWindow, std::function<void()> leave,
                     std::function<void()> abandon);
  ~TerminationSignals() override;
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

  bool signalled() const { return m_received > 0; }
  // 128 + the signal's number once one arrived, else 0.
  int exitCode() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void readSignals();
  void closeDialogs();

  QWidget* m_mainWindow;
  std::function<void()> m_leave;
  std::function<void()> m_abandon;
  std::unique_ptr<QSocketNotifier> m_notifier;
  UniqueFd m_fd;
  unsigned long long m_received = 0;
};

}  // namespace m2::ui
