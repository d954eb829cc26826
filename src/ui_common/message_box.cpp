#include "ui_common/message_box.h"

namespace m2::ui {

int ShowOkMessage(QWidget* parent, const QString& title, const QString& text,
                  QMessageBox::Icon icon) {
  return ShowOkMessage(parent, title, text, QString(), icon);
}

int ShowOkMessage(QWidget* parent, const QString& title, const QString& text,
                  const QString& detail, QMessageBox::Icon icon) {
  QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("messageBox"));
  if (!detail.isEmpty()) box.setInformativeText(detail);
  return box.exec();
}

}  // namespace m2::ui
