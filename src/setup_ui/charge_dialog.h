#pragma once
// ChargeDialog: the charge of the last call and the accumulated charge of TEL1, TEL2 and the
// DTE port, asked once when the dialog opens, with buttons that clear the accumulated charge
// of one port or of all ports and show what the TA reports afterwards.
#include <QDialog>
#include <QString>
#include <array>

class QLineEdit;

namespace m2 {
class LinkOwner;
}

namespace m2::setup {

class ChargeDialog final : public QDialog {
 public:
  static constexpr int kClearTel1 = 1001;
  static constexpr int kClearTel2 = 1002;
  static constexpr int kClearAll = 1003;
  static constexpr int kClearDte = 1004;

  ChargeDialog(LinkOwner& link, QWidget* parent);

  // Asks the TA, then runs the dialog.
  int exec() override;

 private:
  void InitDialog();
  void ClearPort(int item);
  void ClearAll();
  void UpdateData();

  LinkOwner& m_link;
  // Fields 1302 to 1307: per port (TEL1, TEL2, DTE) the last call, then the accumulated charge.
  std::array<QString, 6> m_strCharge;
  std::array<QLineEdit*, 6> m_fields{};
};

}  // namespace m2::setup
