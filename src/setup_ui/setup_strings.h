#pragma once
// M2Setup's string resources, by number.
#include <array>

#include "ui_common/string_resource.h"

namespace m2::setup {

namespace str {
inline constexpr int kAppTitle = 57344;
inline constexpr int kVendorNotice = 57348;
inline constexpr int kHelpFileName = 57350;
inline constexpr int kAboutMenuItem = 141;
inline constexpr int kAnalogSheetCaption = 142;
inline constexpr int kFlexSheetCaption = 143;
inline constexpr int kComSheetCaption = 144;
inline constexpr int kDataSheetCaption = 145;
inline constexpr int kDialSheetCaption = 146;
inline constexpr int kAppVersion = 147;
inline constexpr int kSettingsFileVersion = 149;
}  // namespace str

inline constexpr std::array<ui::StringResource, 11> kSetupStrings{{
    {str::kAppTitle, "ｵﾙﾊﾞﾝﾃM-2KLX 簡単設定ﾕｰﾃｨﾘﾃｨ "},
    {str::kVendorNotice, "M-2KLX utilities"},
    {str::kHelpFileName, "M2Setup.hlp"},
    {str::kAboutMenuItem, "ﾊﾞｰｼﾞｮﾝ情報 (&A)..."},
    {str::kAnalogSheetCaption, "ｱﾅﾛｸﾞ ﾎﾟｰﾄの設定"},
    {str::kFlexSheetCaption, "ﾌﾚｯｸｽﾎﾝの設定"},
    {str::kComSheetCaption, "ﾊﾟｿｺﾝ通信ﾎﾟｰﾄの設定"},
    {str::kDataSheetCaption, "ﾃﾞｰﾀ ﾎﾟｰﾄの設定"},
    {str::kDialSheetCaption, "電話番号の設定"},
    {str::kAppVersion, "Ver. 1.10"},
    {str::kSettingsFileVersion, "V100"},
}};

inline QString SetupString(int id) { return ui::Qs(ui::LookUpString(kSetupStrings, id)); }

// The caption of the main window, and the title of every message box.
inline QString AppTitle() { return SetupString(str::kAppTitle); }

// The application icon, also the question icon of the confirmations.
inline constexpr int kAppIcon = 130;

}  // namespace m2::setup
