#pragma once
// The main window's menu bar, as a table of menus and their items.
#include <array>
#include <string_view>

#include "ui_common/menu_table.h"

namespace m2::update_ui {

namespace cmd {
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;
inline constexpr int kHelpTopics = 57667;
}  // namespace cmd

inline constexpr std::array<std::string_view, 2> kMenuTitles{"ﾌｧｲﾙ(&F)", "ﾍﾙﾌﾟ(&H)"};

inline constexpr std::array<ui::MenuItem, 3> kMenuItems{{
    {0, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&E)", cmd::kAppExit},
    {1, "ﾄﾋﾟｯｸの検索(&T)...", cmd::kHelpTopics},
    {1, "ﾊﾞｰｼﾞｮﾝ情報(&A)...", cmd::kAppAbout},
}};

}  // namespace m2::update_ui
