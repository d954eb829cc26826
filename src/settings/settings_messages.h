#pragma once
// Plain messages of the settings file that are not in the numbered error table.
#include <string_view>

namespace m2 {

// Shown when SaveFile fails; the previous file is still intact.
inline constexpr std::string_view kSaveFailedText = "設定保存ﾌｧｲﾙに書き込めません";

}  // namespace m2
