#pragma once
// The dialog font of both programs: a Japanese gothic face that has half-width katakana, so
// every fixed text renders in the widths the dialog templates were drawn for.
#include <QFont>

class QApplication;

namespace m2::ui {

// IPA Gothic when installed, else what fontconfig substitutes for a Japanese gothic face.
QFont DialogFont();
void InstallDialogFont(QApplication& app);

}  // namespace m2::ui
