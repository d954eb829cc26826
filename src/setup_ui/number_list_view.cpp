#include "setup_ui/number_list_view.h"

#include <QEvent>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

#include "setup_ui/number_dialogs.h"

namespace m2::setup {

namespace {
QString Line(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
}  // namespace

NumberListView::NumberListView(ui::TemplateLayout& layout, NumberList& list, const char* label,
                               std::function<void()> changed)
    : QObject(layout.host()),
      m_label(label),
      m_changed(std::move(changed)),
      m_page(layout.host()),
      m_meter(layout.host()->font()),
      m_model(std::make_unique<NumberListModel>(list, m_meter)) {
  layout.addLabel(QStringLiteral("電話番号ﾘｽﾄ"), {7, 7, 80, 8});
  m_list = layout.place(new QListWidget, {7, 17, kPageWidth - 14, 100}, kListId);
  m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_list->setItemDelegate(new TabbedTextDelegate(m_meter, m_list));
  m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  for (const std::string& line : m_model->lines()) m_list->addItem(Line(line));
  m_list->installEventFilter(this);

  m_add = layout.addButton(QStringLiteral("追加(&A)"), {7, 124, 50, 14}, kAddId);
  m_delete = layout.addButton(QStringLiteral("削除(&D)"), {63, 124, 50, 14}, kDeleteId);
  m_change = layout.addButton(QStringLiteral("変更(&M)"), {119, 124, 50, 14}, kChangeId);
  for (QPushButton* b : {m_add, m_delete, m_change}) {
    b->setEnabled(false);
    b->setAutoDefault(false);
  }
  connect(m_add, &QPushButton::clicked, this, &NumberListView::Add);
  connect(m_delete, &QPushButton::clicked, this, &NumberListView::Delete);
  connect(m_change, &QPushButton::clicked, this, &NumberListView::Change);
  connect(m_list, &QListWidget::itemSelectionChanged, this,
          [this] { SetButtons(m_model->Buttons(Selected())); });
  connect(m_list, &QListWidget::itemDoubleClicked, this, &NumberListView::DoubleClicked);
  SetButtons(m_model->Buttons({}));
}

NumberListView::~NumberListView() = default;

std::vector<int> NumberListView::Selected() const {
  std::vector<int> rows;
  for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
    rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

void NumberListView::SetButtons(const NumberButtons& buttons) {
  // Disabling the focused button would move the focus on, possibly into the list.
  m_settingButtons = true;
  const std::pair<QPushButton*, bool> states[] = {
      {m_add, buttons.add}, {m_delete, buttons.del}, {m_change, buttons.change}};
  for (const auto& [button, enabled] : states)
    if (enabled) button->setEnabled(true);
  switch (buttons.focus) {
    case NumberButtons::Focus::Add:
      m_add->setFocus();
      break;
    case NumberButtons::Focus::Delete:
      m_delete->setFocus();
      break;
    case NumberButtons::Focus::Unchanged:
      break;
  }
  for (const auto& [button, enabled] : states)
    if (!enabled) button->setEnabled(false);
  m_settingButtons = false;
}

void NumberListView::ReplaceLine(int index) {
  delete m_list->takeItem(index);
  m_list->insertItem(index, Line(m_model->lines()[static_cast<std::size_t>(index)]));
}

void NumberListView::Add() {
  const std::vector<int> selection = Selected();
  const std::optional<int> target = m_model->AddTarget(selection);
  if (!target) return;
  NumberAddDialog dialog(m_label, *target, m_page);
  if (dialog.exec() != QDialog::Accepted || !dialog.changedByUser()) return;
  m_model->Add(*target, dialog.values());
  ReplaceLine(*target);
  SetButtons(m_model->Buttons(Selected()));
  m_changed();
}

void NumberListView::Change() {
  const std::optional<int> index = m_model->ChangeTarget(Selected());
  if (!index) return;
  const NumberEntry& e = m_model->entry(*index);
  NumberChangeDialog dialog(m_label, *index, {e.m_strName, e.m_strAddress, e.m_strSubAddress},
                            m_page);
  if (dialog.exec() != QDialog::Accepted || !dialog.changedByUser()) return;
  m_model->Change(*index, dialog.values());
  ReplaceLine(*index);
  SetButtons(m_model->Buttons(Selected()));
  m_changed();
}

void NumberListView::Delete() {
  NumberDeleteConfirmDialog dialog(m_page);
  if (dialog.exec() != kIdOk) return;
  const std::vector<int> selection = Selected();
  if (!m_model->Delete(selection)) return;
  for (int index : selection) ReplaceLine(index);
  SetButtons(m_model->Buttons(Selected()));
  m_changed();
}

void NumberListView::DoubleClicked() {
  switch (m_model->DoubleClick(Selected())) {
    case NumberAction::Add:
      Add();
      break;
    case NumberAction::Change:
      Change();
      break;
    case NumberAction::None:
      break;
  }
}

bool NumberListView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_list && event->type() == QEvent::FocusIn && !m_settingButtons)
    SetButtons(m_model->Buttons(Selected()));
  return QObject::eventFilter(watched, event);
}

}  // namespace m2::setup
