#pragma once
// The program's string resources by id. The settings file name is built from 149; the
// user interface takes its captions from the others.
#include <array>
#include <string_view>

namespace m2 {

struct StringResource {
  int id;
  std::string_view text;
};

inline constexpr std::array<StringResource, 9> StringResourceTable{{
    {141, "ﾊﾞｰｼﾞｮﾝ情報 (&A)..."},
    {142, "ｱﾅﾛｸﾞ ﾎﾟｰﾄの設定"},
    {143, "ﾌﾚｯｸｽﾎﾝの設定"},
    {144, "ﾊﾟｿｺﾝ通信ﾎﾟｰﾄの設定"},
    {145, "ﾃﾞｰﾀ ﾎﾟｰﾄの設定"},
    {147, "Ver. 1.10"},
    {149, "V100"},
    {57344, "ｵﾙﾊﾞﾝﾃM-2KLX 簡単設定ﾕｰﾃｨﾘﾃｨ "},
    {57350, "M2Setup.hlp"},
}};

constexpr bool IdsAscending() {
  for (std::size_t i = 1; i < StringResourceTable.size(); ++i)
    if (StringResourceTable[i - 1].id >= StringResourceTable[i].id) return false;
  return true;
}
static_assert(IdsAscending(), "one row per id, in id order");

// The text of a resource, empty when there is none (as loading a missing string gives).
constexpr std::string_view LoadStringResource(int id) {
  for (const auto& row : StringResourceTable)
    if (row.id == id) return row.text;
  return {};
}

}  // namespace m2
