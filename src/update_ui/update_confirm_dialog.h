#pragma once
// UpdateConfirmDialog: "run the version-up?" with "はい" (the default, also Enter) and
// "いいえ" (also Escape and the close box). exec() returns the pressed button's id.
#include <QDialog>

class QPushButton;

namespace m2::update_ui {

class UpdateConfirmDialog final : public QDialog {
 public:
  static constexpr int kYes = 1;
  static constexpr int kNo = 2;

  explicit UpdateConfirmDialog(QWidget* parent);
  QPushButton* button(int id) const;

 protected:
  void reject() override { done(kNo); }
};

}  // namespace m2::update_ui
