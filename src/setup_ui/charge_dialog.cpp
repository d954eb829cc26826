#include "setup_ui/charge_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "serial/status_queries.h"
#include "setup_ui/status_form.h"

namespace m2::setup {

namespace {

struct PortRow {
  const char* group;
  int top;     // of the group box
  int item;    // the TA's port item
  int slot;    // the port's place in ChargeCounts
  int button;  // its clear button
  const char* buttonText;
};

// In the order of the fields: TEL1 1302/1303, TEL2 1304/1305, DTE 1306/1307.
constexpr std::array<PortRow, 3> kPorts{{
    {"TEL1 ﾎﾟｰﾄ", 7, 1, kSlotTel1, ChargeDialog::kClearTel1, "初期化(&A)"},
    {"TEL2 ﾎﾟｰﾄ", 60, 2, kSlotTel2, ChargeDialog::kClearTel2, "初期化(&B)"},
    {"DTE ﾎﾟｰﾄ", 114, 0, kSlotDte, ChargeDialog::kClearDte, "初期化(&D)"},
}};
constexpr int kFirstField = 1302;

constexpr std::size_t LastField(std::size_t port) { return 2 * port; }
constexpr std::size_t TotalField(std::size_t port) { return 2 * port + 1; }

// As the TA sent it; empty for a field that was no number.
QString Yen(const ChargeCounts& counts, int slot) {
  const std::int64_t yen = counts.yen[static_cast<std::size_t>(slot)];
  return yen < 0 ? QString() : QString::number(yen);
}

}  // namespace

ChargeDialog::ChargeDialog(LinkOwner& link, QWidget* parent) : QDialog(parent), m_link(link) {
  ui::TemplateLayout layout(this);
  SetUpStatusDialog(this, "ChargeDialog", QStringLiteral("通信料金の表示"), layout, 205, 196);
  for (std::size_t p = 0; p < kPorts.size(); ++p) {
    const PortRow& port = kPorts[p];
    const int y = port.top;
    layout.addGroup(QString::fromUtf8(port.group), {7, y, 191, 48});
    layout.addLabel(QStringLiteral("直前の通信料金"), {15, y + 13, 62, 8});
    layout.addLabel(QStringLiteral("累積通信料金"), {15, y + 29, 62, 8});
    m_fields[LastField(p)] = AddReadOnlyField(layout, {79, y + 11, 40, 14},
                                              kFirstField + static_cast<int>(LastField(p)),
                                              Qt::AlignRight);
    m_fields[TotalField(p)] = AddReadOnlyField(layout, {79, y + 27, 40, 14},
                                               kFirstField + static_cast<int>(TotalField(p)),
                                               Qt::AlignRight);
    layout.addLabel(QStringLiteral("円"), {122, y + 13, 12, 8});
    layout.addLabel(QStringLiteral("円"), {122, y + 29, 12, 8});
    QPushButton* clear =
        layout.addButton(QString::fromUtf8(port.buttonText), {141, y + 27, 50, 14}, port.button);
    clear->setAutoDefault(false);
    const int item = port.item;
    connect(clear, &QPushButton::clicked, this, [this, item] { ClearPort(item); });
  }
  AddStatusOkButton(this, layout, {34, 175, 50, 14});
  QPushButton* clearAll =
      layout.addButton(QStringLiteral("全ﾎﾟｰﾄの初期化(&C)"), {100, 175, 70, 14}, kClearAll);
  clearAll->setAutoDefault(false);
  connect(clearAll, &QPushButton::clicked, this, &ChargeDialog::ClearAll);
}

int ChargeDialog::exec() {
  InitDialog();
  return QDialog::exec();
}

void ChargeDialog::InitDialog() {
  // The accumulated charges are asked for only after the last-call charges arrived.
  ChargeCounts counts;
  if (QueryLastCharges(m_link, 1, 0, counts) == 1) {
    for (std::size_t p = 0; p < kPorts.size(); ++p)
      m_strCharge[LastField(p)] = Yen(counts, kPorts[p].slot);
    if (QueryTotalCharges(m_link, 1, 0, counts) == 1)
      for (std::size_t p = 0; p < kPorts.size(); ++p)
        m_strCharge[TotalField(p)] = Yen(counts, kPorts[p].slot);
  }
  UpdateData();
}

void ChargeDialog::ClearPort(int item) {
  ChargeCounts counts;
  if (ClearTotalCharges(m_link, 0, item) == 1 && QueryTotalCharges(m_link, 0, item, counts) == 1) {
    for (std::size_t p = 0; p < kPorts.size(); ++p)
      if (kPorts[p].item == item) m_strCharge[TotalField(p)] = Yen(counts, kPorts[p].slot);
  }
  UpdateData();
}

void ChargeDialog::ClearAll() {
  ChargeCounts counts;
  if (ClearTotalCharges(m_link, 1, 0) == 1 && QueryTotalCharges(m_link, 1, 0, counts) == 1) {
    for (std::size_t p = 0; p < kPorts.size(); ++p)
      m_strCharge[TotalField(p)] = Yen(counts, kPorts[p].slot);
  }
  UpdateData();
}

void ChargeDialog::UpdateData() {
  for (std::size_t i = 0; i < m_fields.size(); ++i) m_fields[i]->setText(m_strCharge[i]);
}

}  // namespace m2::setup
