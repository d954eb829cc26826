#pragma once
// The main window's menu bar (menu resource 130), as a table of menus and their items.
#include <array>
#include <string_view>

#include "ui_common/menu_table.h"

namespace m2::setup {

namespace cmd {
inline constexpr int kShowCallStatus = 32771;
inline constexpr int kShowCharges = 32772;
inline constexpr int kShowLineStatus = 32773;
inline constexpr int kShowTerminal = 32774;  // in the resource, removed at start
inline constexpr int kAnalogSettings = 32775;
inline constexpr int kDataSettings = 32776;
inline constexpr int kPcPortSettings = 32777;
inline constexpr int kNumberSettings = 32778;
inline constexpr int kReadFromTa = 32779;
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;
inline constexpr int kHelpTopics = 57667;
}  // namespace cmd

inline constexpr std::array<std::string_view, 4> kMenuTitles{"ﾌｧｲﾙ(&F)", "表示(&V)", "設定(&S)",
                                                             "ﾍﾙﾌﾟ(&H)"};

inline constexpr std::array<ui::MenuItem, 13> kMenuItems{{
    {0, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&E)", cmd::kAppExit},
    {1, "通信料金の表示(&M)...", cmd::kShowCharges},
    {1, "通信状態の表示(&S)...", cmd::kShowCallStatus},
    {1, "回線状態/信号線状態の表示(&L)...", cmd::kShowLineStatus},
    {1, "簡易ﾀｰﾐﾅﾙの表示(&T)...", cmd::kShowTerminal},
    {2, "ｱﾅﾛｸﾞ ﾎﾟｰﾄの設定(&A)...", cmd::kAnalogSettings},
    {2, "ﾃﾞｰﾀ ﾎﾟｰﾄの設定(&D)...", cmd::kDataSettings},
    {2, "電話番号の設定(&N)...", cmd::kNumberSettings},
    {2, "ﾊﾟｿｺﾝ通信ﾎﾟｰﾄの設定(&P)...", cmd::kPcPortSettings},
    {2, "", ui::kMenuSeparator},
    {2, "ｵﾙﾊﾞﾝﾃM-2KLXから読み込み(&R)...", cmd::kReadFromTa},
    {3, "ﾄﾋﾟｯｸの検索(&T)...", cmd::kHelpTopics},
    {3, "ﾊﾞｰｼﾞｮﾝ情報(&A)...", cmd::kAppAbout},
}};

}  // namespace m2::setup
