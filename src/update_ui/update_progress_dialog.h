#pragma once
// UpdateProgressDialog: runs one update and shows its course. A thin view over the core's
// UpdateProgress: it starts the update when it opens, applies the displays posted to it,
// and hands its one button, Escape and the close box to the core. Every way out stops the
// sender before the dialog closes.
#include <QDialog>

#include "update/update_progress.h"
#include "update_ui/posted_progress_view.h"

class QLineEdit;
class QProgressBar;
class QPushButton;

namespace m2::update_ui {

class UpdateProgressDialog final : public QDialog {
 public:
  static constexpr int kButton = 1;  // the dialog's OK button: "中止" or "終了"
  static constexpr int kMessageField = 1101;
  static constexpr int kProgressBar = 1102;
  static constexpr int kPercentField = 1103;

  UpdateProgressDialog(DownloadSender& sender, UpdateRequest request, QWidget* parent);
  ~UpdateProgressDialog() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void reject() override;  // Escape and the close box: stop at once

 private:
  void pressButton();
  void apply(const ShownProgress& shown);
  void finish(const QString& startFailure, const QString& detail);

  UpdateRequest m_request;
  PostedProgressView m_view;
  UpdateProgress m_progress;  // after the view, so it is gone (and the sender stopped) first
  QLineEdit* m_message = nullptr;
  QProgressBar* m_bar = nullptr;
  QLineEdit* m_percent = nullptr;
  QPushButton* m_button = nullptr;
  bool m_started = false;
};

}  // namespace m2::update_ui
