#pragma once
// LineStatusDialog: the ISDN line's layers 1 and 2 ("UP"/"DOWN") and the DTE port's signal
// lines ("ON"/"OFF"), asked once when the dialog opens.
#include <QDialog>
#include <QString>
#include <array>

class QLineEdit;

namespace m2 {
class LinkOwner;
}

namespace m2::setup {

class LineStatusDialog final : public QDialog {
 public:
  LineStatusDialog(LinkOwner& link, QWidget* parent);

  // Asks the TA, then runs the dialog.
  int exec() override;

 private:
  LinkOwner& m_link;
  // Fields in the order of kFields: 1351, 1352, then ER, CD, DR, RS, CS, CI.
  std::array<QString, 8> m_strState;
  std::array<QLineEdit*, 8> m_fields{};
};

}  // namespace m2::setup
