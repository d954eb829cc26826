#include "setup_ui/number_dialogs.h"

#include <QLineEdit>
#include <QPushButton>

#include "settings/cp932.h"
#include "settings/field_limits.h"
#include "setup_ui/phone_number_edit.h"
#include "setup_ui/setup_strings.h"
#include "setup_ui/text_limit.h"
#include "ui_common/message_box.h"
#include "ui_common/template_layout.h"

namespace m2::setup {

namespace {

constexpr int kWidth = 208;
constexpr int kHeight = 104;
constexpr int kLabelX = 7;
constexpr int kLabelW = 58;
constexpr int kFieldX = 68;

QString Display(const std::string& cp932) { return ui::Qs(Cp932ToUtf8Lossy(cp932)); }

}  // namespace

NumberEntryDialog::NumberEntryDialog(const char* className, const char* title, const char* label,
                                     int index, const EntryValues& values, QWidget* parent)
    : QDialog(parent), m_values(values) {
  setObjectName(QString::fromUtf8(className));
  setWindowTitle(QString::fromUtf8(title));
  setWindowFlags(ui::kDialogWindowFlags);
  ui::TemplateLayout layout(this);
  layout.setTemplateSize(kWidth, kHeight);

  layout.addLabel(QString::fromUtf8(label), {kLabelX, 10, kLabelW, 8});
  QLineEdit* number = layout.addEdit({kFieldX, 7, 40, 14}, kIndexId);
  number->setReadOnly(true);
  number->setFocusPolicy(Qt::NoFocus);
  number->setText(ui::Qs(EntryPrefix(index)));

  layout.addLabel(QStringLiteral("相手先名称"), {kLabelX, 28, kLabelW, 8});
  m_name = layout.addEdit({kFieldX, 25, 100, 14}, kNameId);
  layout.addLabel(QStringLiteral("相手先ｱﾄﾞﾚｽ"), {kLabelX, 46, kLabelW, 8});
  m_address = layout.place(new PhoneNumberEdit, {kFieldX, 43, 133, 14}, kAddressId);
  layout.addLabel(QStringLiteral("相手先ｻﾌﾞｱﾄﾞﾚｽ"), {kLabelX, 64, kLabelW, 8});
  m_subAddress = layout.place(new PhoneNumberEdit, {kFieldX, 61, 82, 14}, kSubAddressId);

  const std::pair<QLineEdit*, Field> fields[] = {
      {m_name, Field::Name}, {m_address, Field::Address}, {m_subAddress, Field::SubAddress}};
  m_name->setText(Display(values.name));
  m_address->setText(Display(values.address));
  m_subAddress->setText(Display(values.subAddress));
  for (const auto& [edit, field] : fields) {
    LimitCp932Bytes(edit, LimitOf(field).max);
    connect(edit, &QLineEdit::textEdited, this, [this] { m_changed = true; });
  }

  QPushButton* ok = layout.addButton(QStringLiteral("OK"), {49, 83, 50, 14}, kIdOk);
  QPushButton* cancel = layout.addButton(QStringLiteral("ｷｬﾝｾﾙ"), {109, 83, 50, 14}, kIdCancel);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  m_name->setFocus();
}

void NumberEntryDialog::accept() {
  struct Row {
    QLineEdit* edit;
    Field field;
    std::string EntryValues::*member;
  };
  const Row rows[] = {{m_name, Field::Name, &EntryValues::name},
                      {m_address, Field::Address, &EntryValues::address},
                      {m_subAddress, Field::SubAddress, &EntryValues::subAddress}};
  EntryValues taken;
  for (const Row& row : rows) {
    TextCheck check = CheckText(row.field, row.edit->text().toStdString());
    if (!check.ok) {
      ui::ShowOkMessage(this, AppTitle(), ui::Qs(check.message));
      row.edit->setFocus();
      row.edit->selectAll();
      return;
    }
    taken.*row.member = std::move(check.cp932);
  }
  m_values = std::move(taken);
  QDialog::accept();
}

NumberAddDialog::NumberAddDialog(const char* label, int index, QWidget* parent)
    : NumberEntryDialog("NumberAddDialog", "電話番号ﾘｽﾄの追加", label, index, {}, parent) {}

NumberChangeDialog::NumberChangeDialog(const char* label, int index, const EntryValues& values,
                                       QWidget* parent)
    : NumberEntryDialog("NumberChangeDialog", "電話番号ﾘｽﾄの変更", label, index, values, parent) {}

NumberDeleteConfirmDialog::NumberDeleteConfirmDialog(QWidget* parent)
    : QuestionDialog({"電話番号ﾘｽﾄの削除：確認",
                      187,
                      69,
                      {{"電話番号ﾘｽﾄを削除してよろしいですか？", {36, 16, 148, 8}}},
                      {{"はい(&Y)", kIdOk, {36, 46, 50, 14}}, {"いいえ(&N)", kIdCancel, {100, 46, 50, 14}}},
                      kIdOk},
                     kAppIcon, parent) {
  setObjectName(QStringLiteral("NumberDeleteConfirmDialog"));
}

}  // namespace m2::setup
