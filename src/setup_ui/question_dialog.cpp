#include "setup_ui/question_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "ui_common/resource_icons.h"
#include "ui_common/template_layout.h"

namespace m2::setup {

namespace {
constexpr int kAppIcon = 130;
constexpr int kIconPixels = 32;
}  // namespace

QuestionDialog::QuestionDialog(const QuestionTemplate& form, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromUtf8(form.caption));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  ui::TemplateLayout layout(this);
  layout.setTemplateSize(form.width, form.height);

  auto* icon = new QLabel(this);
  icon->setPixmap(ui::ResourceIcon(kAppIcon).pixmap(kIconPixels, kIconPixels));
  icon->move(layout.units().x(7), layout.units().y(7));
  icon->resize(kIconPixels, kIconPixels);

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
}

QPushButton* QuestionDialog::button(int id) const { return ui::FindControl<QPushButton>(this, id); }

QLabel* QuestionDialog::line(int id) const { return ui::FindControl<QLabel>(this, id); }

}  // namespace m2::setup
