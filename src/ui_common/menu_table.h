#pragma once
// A menu bar given as data: the menus' titles and their items in order, each item with the
// command number it sends. Every item's action is named "cmd<number>", so the program and
// its tests find an item by its command.
#include <QString>
#include <functional>
#include <span>
#include <string_view>

class QMenuBar;

namespace m2::ui {

inline constexpr int kMenuSeparator = 0;

struct MenuItem {
  int menu;  // index into the titles
  std::string_view text;
  int command;  // kMenuSeparator for a separator
};

QString CommandName(int command);

void BuildMenuBar(QMenuBar* bar, std::span<const std::string_view> titles,
                  std::span<const MenuItem> items, std::function<void(int)> onCommand);

}  // namespace m2::ui
