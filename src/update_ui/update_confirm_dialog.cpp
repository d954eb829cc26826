#include "update_ui/update_confirm_dialog.h"

#include "update_ui/update_strings.h"

namespace m2::update_ui {

UpdateConfirmDialog::UpdateConfirmDialog(QWidget* parent)
    : QuestionDialog({"ﾊﾞ-ｼﾞｮﾝｱｯﾌﾟ:確認",
                      164,
                      62,
                      {{"ﾊﾞｰｼﾞｮﾝｱｯﾌﾟ を実行しますか？", {40, 16, 118, 8}}},
                      {{"はい", kYes, {24, 40, 50, 14}}, {"いいえ", kNo, {90, 40, 50, 14}}},
                      kYes},
                     kAppIcon, parent) {
  setObjectName(QStringLiteral("UpdateConfirmDialog"));
}

}  // namespace m2::update_ui
