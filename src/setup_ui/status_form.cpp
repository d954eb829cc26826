#include "setup_ui/status_form.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace m2::setup {

void SetUpStatusDialog(QDialog* dialog, const char* objectName, const QString& caption,
                       ui::TemplateLayout& layout, int width, int height) {
  dialog->setObjectName(QString::fromLatin1(objectName));
  dialog->setWindowTitle(caption);
  dialog->setWindowFlags(ui::kDialogWindowFlags);
  layout.setTemplateSize(width, height);
}

QLineEdit* AddReadOnlyField(ui::TemplateLayout& layout, ui::DluRect rect, int id,
                            Qt::Alignment alignment) {
  QLineEdit* edit = layout.addEdit(rect, id);
  edit->setReadOnly(true);
  edit->setAlignment(alignment | Qt::AlignVCenter);
  return edit;
}

void AddStatusOkButton(QDialog* dialog, ui::TemplateLayout& layout, ui::DluRect rect) {
  QPushButton* ok = layout.addButton(QStringLiteral("OK"), rect, kStatusOkId);
  ok->setDefault(true);
  ok->setFocus();
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
}

}  // namespace m2::setup
