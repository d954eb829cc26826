#include "update_ui/update_progress_dialog.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "ui_common/message_box.h"
#include "ui_common/template_layout.h"
#include "ui_common/wait_cursor.h"
#include "update_ui/update_strings.h"

namespace m2::update_ui {

UpdateProgressDialog::UpdateProgressDialog(DownloadSender& sender, UpdateRequest request,
                                           QWidget* parent)
    : QDialog(parent),
      m_request(std::move(request)),
      m_view(
          this, [this](const ShownProgress& shown) { apply(shown); },
          [this](const QString& startFailure, const QString& detail) {
            finish(startFailure, detail);
          }),
      m_progress(sender, m_view) {
  setObjectName(QStringLiteral("UpdateProgressDialog"));
  setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝｱｯﾌﾟの状態"));
  setWindowFlags(ui::kDialogWindowFlags);

  ui::TemplateLayout layout(this);
  layout.setTemplateSize(206, 104);
  layout.addLabel(QStringLiteral("ﾒｯｾｰｼﾞ"), {7, 7, 60, 8});
  m_message = layout.addEdit({7, 17, 192, 12}, kMessageField);
  m_message->setReadOnly(true);
  layout.addGroup(QStringLiteral("経過表示"), {7, 36, 192, 44});
  m_bar = layout.place(new QProgressBar, {14, 49, 178, 10}, kProgressBar);
  m_bar->setRange(0, 100);
  m_bar->setValue(0);
  m_bar->setTextVisible(false);
  layout.addLabel(QStringLiteral("ﾊﾞｰｼﾞｮﾝｱｯﾌﾟ"), {14, 66, 56, 8});
  m_percent = layout.addEdit({96, 64, 30, 12}, kPercentField);
  m_percent->setReadOnly(true);
  m_percent->setAlignment(Qt::AlignRight);
  layout.addLabel(QStringLiteral("％ 終了"), {130, 66, 40, 8});
  m_button = layout.addButton(ui::Qs(kButtonClose),
                              {78, 85, 50, 14}, kButton);
  m_button->setDefault(true);
  connect(m_button, &QPushButton::clicked, this, &UpdateProgressDialog::pressButton);
}

UpdateProgressDialog::~UpdateProgressDialog() = default;

void UpdateProgressDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_started) return;
  m_started = true;
  m_progress.Start(m_request);
}

void UpdateProgressDialog::pressButton() {
  // Closing stops the sender, which takes seconds when a write is held back by CTS.
  ui::WaitCursor wait;
  m_progress.PressButton();
}

void UpdateProgressDialog::reject() {
  ui::WaitCursor wait;
  m_progress.PressEscape();
}

void UpdateProgressDialog::apply(const ShownProgress& shown) {
  m_message->setText(shown.message);
  m_percent->setText(shown.percentText);
  m_button->setText(shown.buttonText);
  m_bar->setValue(shown.percent);
}

void UpdateProgressDialog::finish(const QString& startFailure, const QString& detail) {
  if (!startFailure.isEmpty()) ui::ShowOkMessage(this, AppTitle(), startFailure, detail);
  done(QDialog::Rejected);
}

}  // namespace m2::update_ui
