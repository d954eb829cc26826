#pragma once
// UpdateConfirmDialog: "run the version-up?" with "はい" (the default, also Enter) and
// "いいえ" (also Escape and the close box). exec() returns the pressed button's id.
#include "ui_common/question_dialog.h"

namespace m2::update_ui {

class UpdateConfirmDialog final : public ui::QuestionDialog {
 public:
  static constexpr int kYes = ui::kIdOk;
  static constexpr int kNo = ui::kIdCancel;

  explicit UpdateConfirmDialog(QWidget* parent);
};

}  // namespace m2::update_ui
