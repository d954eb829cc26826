#include "ui_common/question_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "ui_common/message_box.h"
#include "ui_common/resource_icons.h"
#include "ui_common/template_layout.h"

namespace m2::ui {

QuestionDialog::QuestionDialog(const QuestionTemplate& form, int iconId, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QString::fromUtf8(form.caption));
  setWindowFlags(kDialogWindowFlags);
  TemplateLayout layout(this);
  layout.setTemplateSize(form.width, form.height);
  layout.addIcon(ResourceIcon(iconId), 7, 7);

  for (const QuestionLine& line : form.lines)
    layout.addLabel(QString::fromUtf8(line.text), line.rect, line.id);
  for (const QuestionButton& spec : form.buttons) {
    QPushButton* b = layout.addButton(QString::fromUtf8(spec.text), spec.rect, spec.id);
    if (form.defaultId == 0) b->setAutoDefault(false);
    if (spec.id == form.defaultId) {
      b->setDefault(true);
      b->setFocus();
    }
    const int id = spec.id;
    connect(b, &QPushButton::clicked, this, [this, id] { onButton(id); });
  }

  // A caption wider than the template widens the dialog; the form stays centred.
  const int extra = CaptionWidth(windowTitle()) - width();
  if (extra > 0) {
    setFixedWidth(width() + extra);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      child->move(child->x() + extra / 2, child->y());
  }
}

QPushButton* QuestionDialog::button(int id) const { return FindControl<QPushButton>(this, id); }

QLabel* QuestionDialog::line(int id) const { return FindControl<QLabel>(this, id); }

}  // namespace m2::ui
