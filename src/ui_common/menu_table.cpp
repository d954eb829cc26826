#include "ui_common/menu_table.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "ui_common/string_resource.h"

namespace m2::ui {

QString CommandName(int command) { return QStringLiteral("cmd%1").arg(command); }

void BuildMenuBar(QMenuBar* bar, std::span<const std::string_view> titles,
                  std::span<const MenuItem> items, std::function<void(int)> onCommand) {
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
