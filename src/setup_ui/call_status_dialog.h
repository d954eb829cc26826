#pragma once
// CallStatusDialog: the cause of the last disconnection of TEL1, TEL2 and the DTE port, asked
// once when the dialog opens.
#include <QDialog>
#include <QString>
#include <array>

class QLineEdit;

namespace m2 {
class LinkOwner;
}

namespace m2::setup {

class CallStatusDialog final : public QDialog {
 public:
  CallStatusDialog(LinkOwner& link, QWidget* parent);

  // Asks the TA, then runs the dialog.
  int exec() override;

 private:
  LinkOwner& m_link;
  std::array<QString, 3> m_strCause;  // fields 1354 (TEL1), 1355 (TEL2), 1356 (DTE)
  std::array<QLineEdit*, 3> m_fields{};
};

}  // namespace m2::setup
