#include "setup_ui/call_status_dialog.h"

#include <QLineEdit>

#include "serial/status_queries.h"
#include "setup_ui/status_form.h"
#include "ui_common/string_resource.h"

namespace m2::setup {

namespace {

struct PortRow {
  const char* group;
  int fieldTop;
  int field;
  int slot;  // the port's place in CauseTexts
};

constexpr std::array<PortRow, 3> kPorts{{
    {"TEL1 ﾎﾟｰﾄ", 19, 1354, kSlotTel1},
    {"TEL2 ﾎﾟｰﾄ", 65, 1355, kSlotTel2},
    {"DTE ﾎﾟｰﾄ", 110, 1356, kSlotDte},
}};

}  // namespace

CallStatusDialog::CallStatusDialog(LinkOwner& link, QWidget* parent) : QDialog(parent), m_link(link) {
  ui::TemplateLayout layout(this);
  SetUpStatusDialog(this, "CallStatusDialog", QStringLiteral("通信状態の表示"), layout, 237, 165);
  for (std::size_t p = 0; p < kPorts.size(); ++p) {
    const int y = kPorts[p].fieldTop;
    layout.addGroup(QString::fromUtf8(kPorts[p].group), {7, y - 12, 223, 36});
    layout.addLabel(QStringLiteral("切断理由"), {14, y + 3, 32, 8});
    m_fields[p] = AddReadOnlyField(layout, {48, y, 175, 14}, kPorts[p].field);
  }
  AddStatusOkButton(this, layout, {93, 144, 50, 14});
}

int CallStatusDialog::exec() {
  // The texts live in the session, so they are copied before it goes.
  AtSession session;
  CauseTexts causes;
  if (QueryCallStatus(m_link, session, 1, 0, causes) == 1)
    for (std::size_t p = 0; p < kPorts.size(); ++p)
      m_strCause[p] = ui::Qs(causes.text[static_cast<std::size_t>(kPorts[p].slot)]);
  for (std::size_t p = 0; p < kPorts.size(); ++p) m_fields[p]->setText(m_strCause[p]);
  return QDialog::exec();
}

}  // namespace m2::setup
