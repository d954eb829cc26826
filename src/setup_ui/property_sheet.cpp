#include "setup_ui/property_sheet.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "setup_ui/property_page.h"
#include "setup_ui/setup_strings.h"
#include "ui_common/app_font.h"
#include "ui_common/dialog_units.h"
#include "ui_common/template_layout.h"

namespace m2::setup {

namespace {
// The standard sheet's buttons and margins, in dialog units.
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kButtonGap = 6;
constexpr int kMargin = 7;
}  // namespace

PropertySheet::PropertySheet(const char* className, int captionId, QWidget* parent)
    : QDialog(parent), m_tabs(new QTabWidget(this)) {
  setObjectName(QString::fromUtf8(className));
  setWindowTitle(SetupString(captionId));
  setWindowFlags(ui::kDialogWindowFlags);
  // The dialog units are measured in the dialog font, whatever font the application has.
  setFont(ui::DialogFont());

  const ui::DialogUnits units(font());
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  m_apply = new QPushButton(QStringLiteral("更新"), this);
  ui::SetControlId(ok, kOkId);
  ui::SetControlId(cancel, kCancelId);
  ui::SetControlId(m_apply, kApplyId);
  m_buttons = {ok, cancel, m_apply};
  for (QPushButton* b : m_buttons) b->setFixedSize(units.toPixels(kButtonWidth, kButtonHeight));
  ok->setDefault(true);
  m_apply->setEnabled(false);

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(units.x(kButtonGap));
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(m_apply);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->setContentsMargins(units.x(kMargin), units.y(kMargin), units.x(kMargin),
                             units.y(kMargin));
  layout->setSpacing(units.y(kMargin));
  layout->addWidget(m_tabs);
  layout->addLayout(buttons);

  connect(ok, &QPushButton::clicked, this, &PropertySheet::accept);
  connect(cancel, &QPushButton::clicked, this, &PropertySheet::reject);
  connect(m_apply, &QPushButton::clicked, this, &PropertySheet::applyClicked);
  connect(m_tabs, &QTabWidget::currentChanged, this, &PropertySheet::tabChanged);

  // Ctrl+Tab and Ctrl+Shift+Tab turn the pages wherever the focus is (a drop-down list
  // would otherwise keep the key for its own search).
  auto turn = [this](int step) {
    const int count = m_tabs->count();
    if (count > 1) m_tabs->setCurrentIndex((m_tabs->currentIndex() + step + count) % count);
  };
  for (const QKeySequence& keys :
       {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)})
    connect(new QShortcut(keys, this), &QShortcut::activated, this, [turn] { turn(1); });
  for (const QKeySequence& keys :
       {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)})
    connect(new QShortcut(keys, this), &QShortcut::activated, this, [turn] { turn(-1); });
}

void PropertySheet::addPage(PropertyPage* page) {
  m_pages.push_back(page);
  m_tabs->addTab(page, page->tabTitle());
  page->applyEnablingRules();
  connect(page, &PropertyPage::changed, m_apply, [this] { m_apply->setEnabled(true); });

  // Tab goes through the page's controls, then OK, "ｷｬﾝｾﾙ", "更新"; the sheet opens with
  // the first control of the first page focused.
  QWidget* first = nullptr;
  QWidget* last = nullptr;
  for (QWidget* w : page->findChildren<QWidget*>()) {
    if (w->window() != window() || !(w->focusPolicy() & Qt::TabFocus)) continue;
    if (!first) first = w;
    last = w;
  }
  if (!last) return;
  QWidget::setTabOrder(last, m_buttons[0]);
  QWidget::setTabOrder(m_buttons[0], m_buttons[1]);
  QWidget::setTabOrder(m_buttons[1], m_buttons[2]);
  if (m_pages.size() == 1) first->setFocus();
}

PropertyPage* PropertySheet::currentPage() const {
  return m_pages.empty() ? nullptr : page(m_shownTab);
}

void PropertySheet::tabChanged(int index) {
  if (index == m_shownTab || m_pages.empty()) return;
  PropertyPage* leaving = page(m_shownTab);
  if (const auto failure = leaving->takeValues()) {
    const QSignalBlocker block(m_tabs);
    m_tabs->setCurrentIndex(m_shownTab);
    leaving->report(*failure);
    return;
  }
  m_shownTab = index;
}

void PropertySheet::applyClicked() {
  if (PropertyPage* current = currentPage(); current && !current->takeValuesOrReport()) return;
  apply();
  for (PropertyPage* p : m_pages) p->clearChanged();
  m_apply->setEnabled(false);
}

void PropertySheet::accept() {
  if (PropertyPage* current = currentPage(); current && !current->takeValuesOrReport()) return;
  QDialog::accept();
}

void PropertySheet::copyBackEdited() {
  for (PropertyPage* p : m_pages) p->copyBackIfEdited();
}

}  // namespace m2::setup
