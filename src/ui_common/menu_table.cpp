#include "ui_common/menu_table.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "ui_common/string_resource.h"

namespace m2::ui {

namespace {

// A menu opened with Alt while the bar is still highlighted from closing another one makes
// the bar keep the keyboard focus for good, and a focused bar swallows every Escape. An
// Escape that finds the bar with nothing highlighted is the window's: the focus moves on
// from the bar and the window gets the key.
class MenuBarEscape final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* bar = static_cast<QMenuBar*>(watched);
    if (event->type() != QEvent::KeyPress ||
        static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape || bar->activeAction())
      return false;
    QWidget* window = bar->window();
    for (QWidget* next = bar->nextInFocusChain(); next != bar; next = next->nextInFocusChain()) {
      if (next->window() == window && next->isVisible() && next->isEnabled() &&
          (next->focusPolicy() & Qt::TabFocus)) {
        next->setFocus(Qt::TabFocusReason);
        break;
      }
    }
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(window, &escape);
    return true;
  }
};

}  // namespace

QString CommandName(int command) { return QStringLiteral("cmd%1").arg(command); }

void BuildMenuBar(QMenuBar* bar, std::span<const std::string_view> titles,
                  std::span<const MenuItem> items, std::function<void(int)> onCommand) {
  bar->installEventFilter(new MenuBarEscape(bar));
  std::vector<QMenu*> menus;
  for (std::string_view title : titles) menus.push_back(bar->addMenu(Qs(title)));
  for (const MenuItem& item : items) {
    QMenu* menu = menus.at(static_cast<std::size_t>(item.menu));
    if (item.command == kMenuSeparator) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(Qs(item.text));
    action->setObjectName(CommandName(item.command));
    const int command = item.command;
    QObject::connect(action, &QAction::triggered, bar, [onCommand, command] { onCommand(command); });
  }
}

}  // namespace m2::ui
