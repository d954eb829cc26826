#pragma once
// The programs' message box: the text, an OK button only, the application's title. A detail
// (which device, and why) goes under the text as the box's informative text. A box and a
// confirmation are at least as wide as their caption needs, as a Windows message box widens
// itself for a long caption.
#include <QMessageBox>
#include <QString>

namespace m2::ui {

int ShowOkMessage(QWidget* parent, const QString& title, const QString& text,
                  const QString& detail = {}, QMessageBox::Icon icon = QMessageBox::Warning);

// The width a window needs to show this caption whole in its title bar, with the window
// manager's icon and buttons beside it.
int CaptionWidth(const QString& caption);

}  // namespace m2::ui
