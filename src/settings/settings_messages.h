#pragma once
// Plain messages of the settings file that are not in the numbered error table.
#include <string>
#include <string_view>

namespace m2 {

// Shown when SaveFile fails; the previous file is still intact.
inline constexpr std::string_view kSaveFailedText = "設定保存ﾌｧｲﾙに書き込めません";

// Shown by the save that kept a settings file which had failed to load.
inline std::string KeptBadFileText(std::string_view keptName) {
  return "読み込めなかった設定保存ﾌｧｲﾙを " + std::string(keptName) + " に残しました";
}

}  // namespace m2
