#pragma once
// The confirmations of the main window: the start-up error question, the exit question,
// and the two questions of reading from the TA.
#include <functional>

#include "ui_common/question_dialog.h"

namespace m2::setup {

using ui::kIdCancel;
using ui::kIdOk;
using ui::QuestionDialog;

// The start-up failure and whether to quit: "はい(&Y)" ends with kIdOk. A detail (which
// device, and why) gets a line of its own under the message; the question and the buttons
// move down for it.
class StartupErrorDialog final : public QuestionDialog {
 public:
  static constexpr int kMessageLine = 1601;
  static constexpr int kDetailLine = 2001;
  static constexpr int kQuestionLine = 2002;
  StartupErrorDialog(const QString& message, QWidget* parent, const QString& detail = {});
};

// Save and exit? kIdOk (yes), kNoId (no) or kIdCancel.
class ExitConfirmDialog final : public QuestionDialog {
 public:
  static constexpr int kNoId = 1018;
  explicit ExitConfirmDialog(QWidget* parent);
};

// Read the settings from the TA? Its buttons act before it closes: "はい(&Y)" runs the read,
// "ﾃﾞﾌｫﾙﾄ値を読み込む(&D)" the defaults question. Enter only closes it.
class ReadConfirmDialog final : public QuestionDialog {
 public:
  static constexpr int kReadId = 1012;
  static constexpr int kDefaultsId = 1010;
  ReadConfirmDialog(QWidget* parent, std::function<void()> read, std::function<void()> defaults);

 protected:
  void onButton(int id) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::function<void()> m_read;
  std::function<void()> m_defaults;
};

// Reset the TA to its factory settings and read them? "はい(&Y)" (also Enter) runs the
// reset-and-read before the dialog closes.
class DefaultsConfirmDialog final : public QuestionDialog {
 public:
  DefaultsConfirmDialog(QWidget* parent, std::function<void()> resetAndRead);

 protected:
  void onButton(int id) override;

 private:
  std::function<void()> m_resetAndRead;
};

}  // namespace m2::setup
