#include "ui_common/input_blocker.h"

#include <QCoreApplication>
#include <QEvent>

namespace m2::ui {

InputBlocker::InputBlocker() { QCoreApplication::instance()->installEventFilter(this); }

InputBlocker::~InputBlocker() { QCoreApplication::instance()->removeEventFilter(this); }

bool InputBlocker::eventFilter(QObject*, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      // Claiming the key keeps the shortcut map from firing; the key press is dropped next.
      event->accept();
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
      return true;
    case QEvent::Close:
      // The window manager's close box; the program's own closes are not spontaneous.
      if (!event->spontaneous()) return false;
      event->ignore();
      return true;
    default:
      return false;
  }
}

}  // namespace m2::ui
