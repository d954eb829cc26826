#include "setup_ui/property_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QRadioButton>

#include "settings/cp932.h"
#include "setup_ui/phone_number_edit.h"
#include "setup_ui/property_sheet.h"
#include "setup_ui/setup_strings.h"
#include "setup_ui/text_limit.h"
#include "ui_common/app_font.h"
#include "ui_common/message_box.h"

namespace m2::setup {

namespace {
// The page's font is set before its template layout measures it.
QWidget* WithDialogFont(QWidget* page) {
  page->setFont(ui::DialogFont());
  return page;
}
}  // namespace

PropertyPage::PropertyPage(const PageForm& form, CKB45mRXObj& record, SettingsGroup group,
                           QWidget* parent)
    : QWidget(parent),
      m_record(record),
      m_group(group),
      m_rules(form.rules),
      m_tab(QString::fromUtf8(form.tab)),
      m_layout(WithDialogFont(this)) {
  setObjectName(QString::fromUtf8(form.className));
  m_layout.setTemplateSize(form.width, form.height);
}

QString PropertyPage::tabTitle() const { return m_tab; }

std::optional<PropertyPage::Failure> PropertyPage::takeValues() {
  for (const auto& take : m_takers)
    if (auto failure = take()) return failure;
  return std::nullopt;
}

bool PropertyPage::takeValuesOrReport() {
  if (m_reporting) return false;
  const auto failure = takeValues();
  if (failure) report(*failure);
  return !failure;
}

void PropertyPage::report(const Failure& failure) {
  m_reporting = true;
  ui::ShowOkMessage(window(), AppTitle(), failure.message);
  m_reporting = false;
  failure.field->setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(failure.field)) edit->selectAll();
}

void PropertyPage::markChanged() {
  m_changed = true;
  m_record.Edited(m_group) = 1;
  emit changed();
}

void PropertyPage::notify(Notice notice, int id) {
  const IdRange& range = notice == Notice::Click  ? m_rules.clicks
                         : notice == Notice::Text ? m_rules.texts
                                                  : m_rules.selections;
  if (!range.contains(id)) return;
  if (!m_rules.isNumeric(id)) takeValuesOrReport();
  markChanged();
}

void PropertyPage::addTaker(std::function<std::optional<Failure>()> taker) {
  m_takers.push_back(std::move(taker));
}

void PropertyPage::trackClicks(QAbstractButton* button, int id) {
  connect(button, &QAbstractButton::clicked, this, [this, id] { notify(Notice::Click, id); });
}

void PropertyPage::trackText(QLineEdit* edit, int id) {
  connect(edit, &QLineEdit::textEdited, this, [this, id] { notify(Notice::Text, id); });
  if (m_rules.isNumeric(id)) edit->installEventFilter(this);
}

void PropertyPage::trackSelection(QComboBox* combo, int id) {
  connect(combo, &QComboBox::currentIndexChanged, this,
          [this, id] { notify(Notice::Selection, id); });
}

bool PropertyPage::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    // Only the user moving on within the window: another program, a message box or a menu
    // taking the activation is no reason to check, nor is a press on "ｷｬﾝｾﾙ" (it takes
    // the focus before its click closes the sheet, which discards the value anyway). The
    // check runs from the event loop, after the focus change is over, and only while the
    // page is still on the screen.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
      QMetaObject::invokeMethod(
          this,
          [this, reason] {
            const QWidget* cancel = ui::FindControl<QWidget>(window(), PropertySheet::kCancelId);
            const bool cancelPressed =
                reason == Qt::MouseFocusReason && cancel && cancel->hasFocus();
            if (isVisible() && !cancelPressed) takeValuesOrReport();
          },
          Qt::QueuedConnection);
  }
  return QWidget::eventFilter(watched, event);
}

QLabel* PropertyPage::addLabel(const char* text, ui::DluRect r) {
  return m_layout.addLabel(QString::fromUtf8(text), r);
}

void PropertyPage::addGroupBox(const char* text, ui::DluRect r) {
  m_layout.addGroup(QString::fromUtf8(text), r);
}

QCheckBox* PropertyPage::addCheck(const char* text, ui::DluRect r, int id, int& member) {
  QCheckBox* box = m_layout.addCheck(QString::fromUtf8(text), r, id);
  box->setChecked(member != 0);
  // A flag the user did not touch keeps its value, whatever the file or the TA gave it.
  addTaker([box, &member]() -> std::optional<Failure> {
    if (box->isChecked() != (member != 0)) member = box->isChecked() ? 1 : 0;
    return std::nullopt;
  });
  trackClicks(box, id);
  return box;
}

QComboBox* PropertyPage::addDropDown(ui::DluRect r, int id,
                                     std::initializer_list<const char*> items, int& member) {
  QStringList rows;
  for (const char* item : items) rows << QString::fromUtf8(item);
  QComboBox* combo = m_layout.addDropDown(r, id, rows);
  combo->setCurrentIndex(member >= 0 && member < combo->count() ? member : -1);
  // A value no item shows stays as it is until the user picks one.
  addTaker([combo, &member]() -> std::optional<Failure> {
    if (combo->currentIndex() >= 0) member = combo->currentIndex();
    return std::nullopt;
  });
  trackSelection(combo, id);
  return combo;
}

NumberEdit* PropertyPage::addNumber(ui::DluRect r, int id, Field field, int& member) {
  auto* edit = m_layout.place(new NumberEdit, r, id);
  edit->setText(QString::number(member));
  addTaker([this, edit, field, &member]() -> std::optional<Failure> {
    // A disabled field cannot be corrected, so it is not checked; it keeps its value.
    if (!edit->isEnabledTo(this)) return std::nullopt;
    const NumberCheck check = CheckNumber(field, edit->text().toStdString());
    if (!check.ok) return Failure{edit, QString::fromStdString(check.message)};
    member = check.value;
    return std::nullopt;
  });
  trackText(edit, id);
  return edit;
}

PhoneNumberEdit* PropertyPage::addPhoneNumber(ui::DluRect r, int id, Field field,
                                              std::string& member) {
  auto* edit = m_layout.place(new PhoneNumberEdit, r, id);
  const QString shown = QString::fromStdString(Cp932ToUtf8Lossy(member));
  edit->setText(shown);
  LimitCp932Bytes(edit, LimitOf(field).max);
  // Text as loaded keeps its bytes, even those that do not show.
  addTaker([edit, field, &member, original = member, shown]() -> std::optional<Failure> {
    const TextCheck check = edit->text() == shown ? CheckStoredText(field, original)
                                                  : CheckText(field, edit->text().toStdString());
    if (!check.ok) return Failure{edit, QString::fromStdString(check.message)};
    member = check.cp932;
    return std::nullopt;
  });
  trackText(edit, id);
  return edit;
}

void PropertyPage::addRadioGroup(std::initializer_list<RadioSpec> buttons, int firstId,
                                 int& member) {
  auto* group = new QButtonGroup(this);
  int id = firstId;
  for (const RadioSpec& spec : buttons) {
    QRadioButton* radio = m_layout.addRadio(QString::fromUtf8(spec.text), spec.rect, id);
    group->addButton(radio, id - firstId);
    trackClicks(radio, id);
    ++id;
  }
  if (QAbstractButton* checked = group->button(member)) checked->setChecked(true);
  addTaker([group, &member]() -> std::optional<Failure> {
    if (group->checkedId() >= 0) member = group->checkedId();
    return std::nullopt;
  });
}

}  // namespace m2::setup
