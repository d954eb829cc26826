#pragma once
// While an InputBlocker lives, mouse presses and clicks, key presses, shortcuts and window
// close requests addressed to any window of the program are dropped (not queued), and the
// wait cursor is shown. Paint, timer and posted events go on as usual, so the windows keep
// painting while nothing the user does can start a second exchange with the TA.
#include <QObject>

#include "ui_common/wait_cursor.h"

namespace m2::ui {

class InputBlocker final : public QObject {
 public:
  InputBlocker();
  ~InputBlocker() override;
  InputBlocker(const InputBlocker&) = delete;
  InputBlocker& operator=(const InputBlocker&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  WaitCursor m_cursor;
};

}  // namespace m2::ui
