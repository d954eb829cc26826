#pragma once
// M2Update's string resources, by number.
#include <array>

#include "ui_common/string_resource.h"

namespace m2::update_ui {

namespace str {
inline constexpr int kAppTitle = 57344;
inline constexpr int kVendorNotice = 57348;
inline constexpr int kHelpFileName = 57350;
inline constexpr int kAppVersion = 147;
}  // namespace str

inline constexpr std::array<ui::StringResource, 4> kUpdateStrings{{
    {str::kAppTitle, "ｵﾙﾊﾞﾝﾃM-2KLX ﾊﾞｰｼﾞｮﾝｱｯﾌﾟﾕｰﾃｨﾘﾃｨ "},
    {str::kVendorNotice, "M-2KLX utilities project"},
    {str::kHelpFileName, "M2Update.hlp"},
    {str::kAppVersion, "Ver. 1.10"},
}};

inline QString UpdateString(int id) { return ui::Qs(ui::LookUpString(kUpdateStrings, id)); }

// The caption of the main window, and the title of every message box.
inline QString AppTitle() { return UpdateString(str::kAppTitle); }

inline constexpr int kAppIcon = 128;

}  // namespace m2::update_ui
