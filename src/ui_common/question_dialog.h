#pragma once
// The form the programs' confirmations share: the application icon at the top left, one or
// two lines of text, and push buttons that end the dialog with their control id. Escape and
// the close box end it with the cancel id.
#include <QDialog>
#include <QString>
#include <initializer_list>
#include <vector>

#include "ui_common/dialog_units.h"

class QLabel;
class QPushButton;

namespace m2::ui {

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

struct QuestionLine {
  const char* text;
  DluRect rect;
  int id = 0;
};

struct QuestionButton {
  const char* text;
  int id;
  DluRect rect;
};

struct QuestionTemplate {
  const char* caption;
  int width;
  int height;
  std::vector<QuestionLine> lines;
  std::vector<QuestionButton> buttons;
  int defaultId;  // 0: no default button
};

class QuestionDialog : public QDialog {
 public:
  // iconId: the application icon's resource number.
  QuestionDialog(const QuestionTemplate& form, int iconId, QWidget* parent);

  QPushButton* button(int id) const;
  QLabel* line(int id) const;

 protected:
  // A button was pressed; the default ends the dialog with the button's id.
  virtual void onButton(int id) { done(id); }
  void reject() override { done(kIdCancel); }
};

}  // namespace m2::ui
