#pragma once
// The programs' message box: the text, an OK button only, the application's title.
#include <QMessageBox>
#include <QString>

namespace m2::ui {

int ShowOkMessage(QWidget* parent, const QString& title, const QString& text,
                  QMessageBox::Icon icon = QMessageBox::Warning);

}  // namespace m2::ui
