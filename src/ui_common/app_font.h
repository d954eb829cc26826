#pragma once
// The dialog font of both programs: a Japanese gothic face that has half-width katakana, so
// every fixed text renders in the widths the dialog templates were drawn for.
#include <QFont>

class QApplication;

namespace m2::ui {

// IPA P Gothic when installed, else what fontconfig substitutes for a Japanese gothic face.
// The proportional face: its Latin letters give the dialog units the width the templates
// were drawn for, so the Japanese texts fit their controls.
QFont DialogFont();
// The dialog font, and Qt's own Japanese texts for the dialogs it draws itself (the file
// dialog, the message boxes' standard buttons) when the translations are installed.
void InstallDialogFont(QApplication& app);

}  // namespace m2::ui
