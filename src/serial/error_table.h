#pragma once
// The numbered messages of M2Setup. A lookup walks the rows in order and stops at the
// first row with the code, or at the closing row -1 whose text serves every other code.
#include <array>
#include <string_view>

namespace m2 {

struct ErrorMessageRow {
  int code;
  std::string_view text;
};

inline constexpr std::array<ErrorMessageRow, 11> ErrorMessageTable{{
    {2, "ﾊﾟｿｺﾝ通信ﾎﾟｰﾄがｵｰﾌﾟﾝできません"},
    {3, "ﾊﾟｿｺﾝ通信ﾎﾟｰﾄでｺﾐｭﾆｹｰｼｮﾝｴﾗｰが発生しました"},
    {4, "ﾊﾟｿｺﾝ通信ﾎﾟｰﾄの受信待ちﾀｲﾏがﾀｲﾑｱｳﾄしました"},
    {5, "ﾀｰﾐﾅﾙｱﾀﾞﾌﾟﾀの装置名が違います"},
    {6, "ﾀｰﾐﾅﾙｱﾀﾞﾌﾟﾀの装置名及び装置ﾒｰｶｰ名が違います"},
    {7, "ATｺﾏﾝﾄﾞのﾘｻﾞﾙﾄｺｰﾄﾞを「使用する」にしました"},
    {8, "ATｺﾏﾝﾄﾞのﾘｻﾞﾙﾄｺｰﾄﾞを「使用しない」に戻しました"},
    {9, "ATｺﾏﾝﾄﾞのﾘｻﾞﾙﾄｺｰﾄﾞが認識できません"},
    {10, "ATｺﾏﾝﾄﾞのﾘｻﾞﾙﾄｺｰﾄﾞでｴﾗｰｽﾃｰﾀｽを受け取りました"},
    {11, "設定保存ﾌｧｲﾙが存在しません"},
    {-1, "その他のｴﾗｰが発生しました"},
}};
static_assert(ErrorMessageTable.back().code == -1, "the closing row serves every other code");

constexpr std::string_view ErrorMessageText(int code) {
  for (const auto& row : ErrorMessageTable)
    if (row.code == code || row.code == -1) return row.text;
  return ErrorMessageTable.back().text;
}

// Error codes raised by the engine and its callers.
namespace err {
inline constexpr int kPortOpen = 2;
inline constexpr int kTimeout = 4;
inline constexpr int kDeviceName = 5;
inline constexpr int kMakerName = 6;
inline constexpr int kResultCodesOn = 7;
inline constexpr int kResultCodesOff = 8;
inline constexpr int kUnrecognised = 9;
inline constexpr int kErrorStatus = 10;
inline constexpr int kNoSettingsFile = 11;
}  // namespace err

}  // namespace m2
