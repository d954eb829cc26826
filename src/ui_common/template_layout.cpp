#include "ui_common/template_layout.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <qdrawutil.h>
#include <QVBoxLayout>

namespace m2::ui {

namespace {
constexpr int kClosedDropDownHeight = 12;  // dialog units
constexpr int kIconPixels = 32;

// A group box as a dialog template means it: the frame fills the control's rectangle, its
// top line runs through the middle of the title, and the title interrupts that line. The
// style's own group box puts the title above the frame and so pushes the top line down
// into the first row of the controls the template placed inside.
class TemplateGroupBox final : public QGroupBox {
 public:
  using QGroupBox::QGroupBox;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int indent = DialogUnits(font()).baseX();
    const int gap = metrics.horizontalAdvance(QLatin1Char(' ')) / 2 + 1;
    const QString text = title();
    QRect titleRect(indent, 0, metrics.horizontalAdvance(text) + 2 * gap, metrics.height());
    if (text.isEmpty()) titleRect = {};

    // An etched line, drawn here: styles place their own frame below a title.
    painter.save();
    painter.setClipRegion(QRegion(rect()).subtracted(titleRect));
    qDrawShadeRect(&painter, rect().adjusted(0, metrics.height() / 2, 0, 0), palette(), true);
    painter.restore();
    style()->drawItemText(&painter, titleRect.adjusted(gap, 0, -gap, 0),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, palette(),
                          isEnabled(), text, QPalette::WindowText);
  }
};
}  // namespace

QString ControlName(int id) { return QStringLiteral("ctl%1").arg(id); }

void SetControlId(QWidget* widget, int id) {
  widget->setObjectName(ControlName(id));
  widget->setProperty("controlId", id);
}

TemplateLayout::TemplateLayout(QWidget* host) : m_host(host), m_units(host->font()) {}

void TemplateLayout::setTemplateSize(int w, int h) { m_host->setFixedSize(m_units.toPixels(w, h)); }

void TemplateLayout::placeWidget(QWidget* widget, DluRect r, int id) {
  widget->setParent(m_host);
  widget->setGeometry(m_units.toPixels(r));
  if (id != 0) SetControlId(widget, id);
}

QLabel* TemplateLayout::addLabel(const QString& text, DluRect r, int id) {
  auto* label = place(new QLabel(text), r, id);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

QLabel* TemplateLayout::addIcon(const QIcon& icon, int x, int y) {
  auto* label = new QLabel(m_host);
  label->setPixmap(icon.pixmap(kIconPixels, kIconPixels));
  label->setGeometry(m_units.x(x), m_units.y(y), kIconPixels, kIconPixels);
  return label;
}

QPushButton* TemplateLayout::addButton(const QString& text, DluRect r, int id) {
  return place(new QPushButton(text), r, id);
}

QLineEdit* TemplateLayout::addEdit(DluRect r, int id) { return place(new QLineEdit, r, id); }

QComboBox* TemplateLayout::addDropDown(DluRect r, int id, const QStringList& rows) {
  auto* combo = new QComboBox;
  combo->addItems(rows);
  r.h = std::min(r.h, kClosedDropDownHeight);
  return place(combo, r, id);
}

QCheckBox* TemplateLayout::addCheck(const QString& text, DluRect r, int id) {
  return place(new QCheckBox(text), r, id);
}

QRadioButton* TemplateLayout::addRadio(const QString& text, DluRect r, int id) {
  return place(new QRadioButton(text), r, id);
}

QGroupBox* TemplateLayout::addGroup(const QString& text, DluRect r, int id) {
  auto* group = place(new TemplateGroupBox(text), r, id);
  group->lower();
  return group;
}

QWidget* AttachMenuBar(QDialog* dialog, QMenuBar* bar) {
  auto* layout = new QVBoxLayout(dialog);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->setMenuBar(bar);
  auto* client = new QWidget(dialog);
  layout->addWidget(client);
  return client;
}

}  // namespace m2::ui
