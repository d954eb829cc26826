#include "setup_ui/line_status_dialog.h"

#include <QLineEdit>

#include "serial/status_queries.h"
#include "setup_ui/status_form.h"

namespace m2::setup {

namespace {

struct StateField {
  const char* label;
  ui::DluRect labelRect;
  int id;
  ui::DluRect rect;
};

constexpr int kLineFields = 2;
constexpr std::array<StateField, 8> kFields{{
    {"ﾚｲﾔ1同期", {14, 24, 40, 8}, 1351, {57, 22, 29, 12}},
    {"ﾚｲﾔ2ﾘﾝｸ", {96, 24, 40, 8}, 1352, {139, 22, 29, 12}},
    {"ER信号", {14, 68, 34, 8}, 1326, {51, 66, 20, 12}},
    {"CD信号", {14, 88, 34, 8}, 1323, {51, 86, 20, 12}},
    {"DR信号", {14, 106, 34, 8}, 1325, {51, 104, 20, 12}},
    {"RS信号", {96, 68, 34, 8}, 1357, {133, 66, 20, 12}},
    {"CS信号", {96, 88, 34, 8}, 1322, {133, 86, 20, 12}},
    {"CI信号", {96, 106, 34, 8}, 1321, {133, 104, 20, 12}},
}};

QString UpDown(bool up) { return up ? QStringLiteral("UP") : QStringLiteral("DOWN"); }
QString OnOff(bool on) { return on ? QStringLiteral("ON") : QStringLiteral("OFF"); }

}  // namespace

LineStatusDialog::LineStatusDialog(LinkOwner& link, QWidget* parent) : QDialog(parent), m_link(link) {
  ui::TemplateLayout layout(this);
  SetUpStatusDialog(this, "LineStatusDialog", QStringLiteral("回線状態/信号線状態の表示"), layout,
                    198, 163);
  layout.addGroup(QStringLiteral("回線の状態"), {7, 7, 184, 36});
  layout.addGroup(QStringLiteral("信号線の状態"), {7, 51, 184, 72});
  for (std::size_t i = 0; i < kFields.size(); ++i) {
    layout.addLabel(QString::fromUtf8(kFields[i].label), kFields[i].labelRect);
    m_fields[i] = AddReadOnlyField(layout, kFields[i].rect, kFields[i].id, Qt::AlignHCenter);
  }
  AddStatusOkButton(this, layout, {74, 142, 50, 14});
}

int LineStatusDialog::exec() {
  // The signal lines are asked for only after the line state arrived.
  LineState line;
  if (QueryLineStatus(m_link, line) == 1) {
    m_strState[0] = UpDown(line.layer1Sync);
    m_strState[1] = UpDown(line.layer2Link);
    SignalState s;
    if (QuerySignalStatus(m_link, s) == 1) {
      const std::array<bool, 6> on{s.er, s.cd, s.dr, s.rs, s.cs, s.ci};
      for (std::size_t i = 0; i < on.size(); ++i) m_strState[kLineFields + i] = OnOff(on[i]);
    }
  }
  for (std::size_t i = 0; i < m_fields.size(); ++i) m_fields[i]->setText(m_strState[i]);
  return QDialog::exec();
}

}  // namespace m2::setup
