#pragma once
// The programs' message box: the text, an OK button only, the application's title. A detail
// (which device, and why) goes under the text as the box's informative text.
#include <QMessageBox>
#include <QString>

namespace m2::ui {

int ShowOkMessage(QWidget* parent, const QString& title, const QString& text,
                  QMessageBox::Icon icon = QMessageBox::Warning);
int ShowOkMessage(QWidget* parent, const QString& title, const QString& text,
                  const QString& detail, QMessageBox::Icon icon = QMessageBox::Warning);

}  // namespace m2::ui
