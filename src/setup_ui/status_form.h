#pragma once
// What the status dialogs and the version dialog share: the dialog window flags, read-only
// fields backed by a text member each, and the "OK" button that closes them.
#include <QString>

#include "ui_common/template_layout.h"

class QDialog;
class QLineEdit;

namespace m2::setup {

inline constexpr int kStatusOkId = 1;

// A modal dialog with a caption, a system menu and its template's size.
void SetUpStatusDialog(QDialog* dialog, const char* objectName, const QString& caption,
                       ui::TemplateLayout& layout, int width, int height);

QLineEdit* AddReadOnlyField(ui::TemplateLayout& layout, ui::DluRect rect, int id,
                            Qt::Alignment alignment = Qt::AlignLeft);

// "OK" (id 1, the default) closing the dialog.
void AddStatusOkButton(QDialog* dialog, ui::TemplateLayout& layout, ui::DluRect rect);

}  // namespace m2::setup
